// The collection survives the program being killed at any moment, and two
// programs adding to one database at once.
#include "ProgramFolder.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>

namespace {

QStringList completedLines(QProcess &process)
{
    // A line counts only once its newline is out: the action was finished.
    const QString out = QString::fromLocal8Bit(process.readAllStandardOutput());
    QStringList lines = out.split(QLatin1Char('\n'));
    lines.removeLast();  // empty after a final newline, or an unfinished line
    return lines;
}

QString integrityOf(const ProgramFolder &folder)
{
    return folder.column(QStringLiteral("pragma integrity_check")).value(0).toString();
}

QSet<QString> collectionOf(const ProgramFolder &folder)
{
    const QStringList codes = folder.collectionCodes();
    return QSet<QString>(codes.cbegin(), codes.cend());
}

} // namespace

class KillTest : public QObject
{
    Q_OBJECT

private slots:
    void killsLoseNothingCompleted();
    void twoProgramsAddAtOnce();

private:
    static void start(QProcess &process, const ProgramFolder &folder, const QStringList &args);
};

void KillTest::start(QProcess &process, const ProgramFolder &folder, const QStringList &args)
{
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(QStringLiteral(TESSELLE_COLLECTION_DRIVER), QStringList{folder.path()} + args);
    QVERIFY2(process.waitForStarted(), qPrintable(process.errorString()));
}

void KillTest::killsLoseNothingCompleted()
{
    constexpr quint32 seed = 20261210;
    constexpr int kills = 100;
    QRandomGenerator random(seed);
    ProgramFolder folder;
    folder.createDatabase(ProgramFolder::card(40, 8));
    folder.addCollectionRows({{"5327", ProgramFolder::codeFor(3, 3)}, {"5327", ProgramFolder::codeFor(9, 1)}});

    int actions = 0;
    for (int run = 0; run < kills; ++run) {
        QSet<QString> expected = collectionOf(folder);
        QProcess driver;
        start(driver, folder, {QStringLiteral("random"), QString::number(seed + run), QStringLiteral("100000")});
        // Kill it at a random moment: before its window is up, or in the
        // middle of its additions and deletions.
        driver.waitForFinished(int(random.bounded(40, 600)));
        driver.kill();
        QVERIFY(driver.waitForFinished(10000));

        const QStringList log = completedLines(driver);
        for (const QString &line : log) {
            const QString code = line.section(QLatin1Char(' '), 1);
            if (line.startsWith(QLatin1String("ADD ")))
                expected.insert(code);
            else if (line.startsWith(QLatin1String("DEL ")))
                expected.remove(code);
            else
                QFAIL(qPrintable(QStringLiteral("seed %1 run %2: unexpected output %3").arg(seed).arg(run).arg(line)));
        }
        actions += int(log.size());

        const QString context = QStringLiteral("seed %1, run %2").arg(seed).arg(run);
        QCOMPARE(integrityOf(folder), QStringLiteral("ok"));
        const QStringList codes = folder.collectionCodes();
        const QSet<QString> actual(codes.cbegin(), codes.cend());
        QVERIFY2(actual.size() == codes.size(), qPrintable(context + ": a code is collected twice"));
        // Every finished action landed; only the one cut short by the kill
        // may or may not have.
        const QSet<QString> extra = actual - expected;
        const QSet<QString> missing = expected - actual;
        QVERIFY2(extra.size() + missing.size() <= 1,
                 qPrintable(context + QStringLiteral(": extra %1, missing %2")
                                          .arg(QStringList(extra.values()).join(QLatin1Char(',')),
                                               QStringList(missing.values()).join(QLatin1Char(',')))));
    }
    QVERIFY2(actions > kills, "the driver was killed before it could act at all");

    // After all that, the program starts and works as usual.
    QProcess driver;
    start(driver, folder, {QStringLiteral("random"), QString::number(seed), QStringLiteral("6")});
    QVERIFY(driver.waitForFinished(60000));
    QCOMPARE(driver.exitStatus(), QProcess::NormalExit);
    QCOMPARE(driver.exitCode(), 0);
    QVERIFY(!completedLines(driver).isEmpty());
}

void KillTest::twoProgramsAddAtOnce()
{
    ProgramFolder folder;
    folder.createDatabase(ProgramFolder::card(30, 8));
    QProcess first;
    QProcess second;
    start(first, folder, {QStringLiteral("add"), QStringLiteral("1"), QStringLiteral("15")});
    start(second, folder, {QStringLiteral("add"), QStringLiteral("16"), QStringLiteral("30")});
    QVERIFY(first.waitForFinished(120000));
    QVERIFY(second.waitForFinished(120000));
    for (QProcess *driver : {&first, &second}) {
        QCOMPARE(driver->exitStatus(), QProcess::NormalExit);
        QVERIFY2(driver->exitCode() == 0, driver->readAllStandardError().constData());
    }
    const QStringList added = completedLines(first) + completedLines(second);
    QCOMPARE(added.size(), 30 * 8);
    const QSet<QString> actual = collectionOf(folder);
    for (const QString &line : added)
        QVERIFY2(actual.contains(line.section(QLatin1Char(' '), 1)), qPrintable(line));
    QCOMPARE(actual.size(), 30 * 8);
    QCOMPARE(integrityOf(folder), QStringLiteral("ok"));
}

QTEST_MAIN(KillTest)
#include "test_reliability_kill.moc"
