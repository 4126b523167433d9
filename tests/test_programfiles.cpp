// SPDX-License-Identifier: MIT
// Where the real program finds its database, and what it changes there at
// start: run as a user runs it, in a program folder of its own with a home
// folder of its own, its files read back with another connection.
#include "ProgramFolder.h"
#include "ProgramRun.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using Run = ProgramRun::Result;

// The program run in folder, to its first frame or, with display false,
// without any display at all; unprivileged as "nobody" when root.
Run runProgram(const ProgramFolder &folder, const QStringList &arguments = {}, bool display = true,
               bool unprivileged = false)
{
    return ProgramRun::run(folder, arguments, {display ? ProgramRun::Display::FirstFrame : ProgramRun::Display::None, unprivileged});
}

QString userDatabase(const ProgramFolder &folder)
{
    return QDir(folder.path()).filePath(QStringLiteral("home/.local/share/tesselle/dbtsl.db"));
}

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The card's rows in the file at path, read with a connection of its own.
int cardRows(const ProgramFolder &folder)
{
    return folder.column(QStringLiteral("select count(*) from \"5327\"")).value(0).toInt();
}

QStringList collection(const ProgramFolder &folder)
{
    QStringList rows;
    for (const QVariant &row : folder.column(QStringLiteral("select sn || '|' || ccard_name || '|' || code from baby2 order by sn")))
        rows.append(row.toString());
    return rows;
}

} // namespace

class ProgramFilesTest : public QObject
{
    Q_OBJECT

private slots:
    void optionsThatOpenNoWindowNeedNoDisplay_data();
    void optionsThatOpenNoWindowNeedNoDisplay();
    void userDatabaseIsCreatedOnce();
    void olderCardIsReplacedAndCollectionKept();
    void namedOrReadOnlyFilesAreNotChanged_data();
    void namedOrReadOnlyFilesAreNotChanged();
    void killDuringUpdateLeavesOldOrNewCard();
};

void ProgramFilesTest::optionsThatOpenNoWindowNeedNoDisplay_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("says");

    QTest::newRow("help") << QStringList{"--help"} << 0 << "--database <FILE>";
    QTest::newRow("version") << QStringList{"--version"} << 0 << "tesselle 1.0";
    QTest::newRow("unknown option") << QStringList{"--frobnicate"} << 2 << "Unknown option 'frobnicate'";
    QTest::newRow("database without a file") << QStringList{"--database"} << 2 << "Missing value after '--database'";
    QTest::newRow("stray argument") << QStringList{"card.db"} << 2 << "Unexpected argument 'card.db'";
}

void ProgramFilesTest::optionsThatOpenNoWindowNeedNoDisplay()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, code);
    QFETCH(QString, says);
    ProgramFolder folder;
    const Run run = runProgram(folder, arguments, false);
    QCOMPARE(run.code, code);
    QVERIFY2((run.out + run.err).contains(says), qPrintable(run.out + run.err));
    if (code == 2)
        QVERIFY2(run.err.contains(QLatin1String("Usage:")), qPrintable(run.err));
    // Nothing was created for the user.
    QVERIFY(!QFile::exists(userDatabase(folder)));
}

void ProgramFilesTest::userDatabaseIsCreatedOnce()
{
    ProgramFolder folder;  // no database beside the program
    const Run first = runProgram(folder);
    QCOMPARE(first.code, 0);
    const QString path = userDatabase(folder);
    QVERIFY2(first.err.contains(QStringLiteral("Your collection is kept in %1.").arg(path)), qPrintable(first.err));
    QVERIFY(!QFile::exists(folder.databasePath()));

    ProgramFolder reader;
    QVERIFY(QFile::copy(path, reader.databasePath()));
    QCOMPARE(cardRows(reader), 1632);
    QVERIFY(collection(reader).isEmpty());
    QCOMPARE(reader.column(QStringLiteral("pragma integrity_check")).value(0).toString(), QStringLiteral("ok"));
    // No temporary file stays behind.
    QCOMPARE(QDir(QFileInfo(path).path()).entryList(QDir::Files | QDir::Hidden), QStringList{"dbtsl.db"});

    const QByteArray before = contentsOf(path);
    const Run second = runProgram(folder);
    QCOMPARE(second.code, 0);
    QVERIFY2(!second.err.contains(QLatin1String("kept in")), qPrintable(second.err));
    QCOMPARE(contentsOf(path), before);
}

void ProgramFilesTest::olderCardIsReplacedAndCollectionKept()
{
    // A database of an earlier version: another card, no version of it,
    // and a collection with a gap in its serial numbers.
    ProgramFolder folder;
    folder.createDatabase(ProgramFolder::card(3, 8));
    folder.addCollectionRows({{"5327", "K8.04.43"}, {"5327", "Z0.00.97"}, {"9999", "odd"}});
    folder.exec(QStringLiteral("delete from baby2 where code = 'Z0.00.97'"));
    const QStringList kept = collection(folder);

    const Run run = runProgram(folder);
    QCOMPARE(run.code, 0);
    QCOMPARE(cardRows(folder), 1632);
    QCOMPARE(collection(folder), kept);
    QCOMPARE(folder.column(QStringLiteral("select value from tesselle_meta where key = 'card_version'")).value(0).toInt(), 2);
    QCOMPARE(folder.column(QStringLiteral("pragma integrity_check")).value(0).toString(), QStringLiteral("ok"));

    // Up to date now: the next start changes nothing.
    const QByteArray before = contentsOf(folder.databasePath());
    QCOMPARE(runProgram(folder).code, 0);
    QCOMPARE(contentsOf(folder.databasePath()), before);
}

void ProgramFilesTest::namedOrReadOnlyFilesAreNotChanged_data()
{
    QTest::addColumn<bool>("named");
    QTest::newRow("named by --database") << true;
    QTest::newRow("read-only") << false;
}

void ProgramFilesTest::namedOrReadOnlyFilesAreNotChanged()
{
    QFETCH(bool, named);
    ProgramFolder folder;
    folder.createDatabase(ProgramFolder::card(3, 8));
    folder.addCollectionRows({{"5327", ProgramFolder::codeFor(1, 1)}});
    const QString path = folder.databasePath();
    QStringList arguments;
    QString database = path;
    if (named) {
        // Named on the command line, it is used where it is.
        database = QDir(folder.path()).filePath(QStringLiteral("mine.db"));
        QVERIFY(QFile::rename(path, database));
        arguments = {QStringLiteral("--database"), database};
    } else {
        QVERIFY(::chmod(QFile::encodeName(path).constData(), 0444) == 0);
    }
    const QByteArray before = contentsOf(database);
    const Run run = runProgram(folder, arguments, true, !named);
    QCOMPARE(run.code, 0);
    QCOMPARE(contentsOf(database), before);
    if (!named)
        QVERIFY2(run.err.contains(QLatin1String("was not updated")), qPrintable(run.err));
}

void ProgramFilesTest::killDuringUpdateLeavesOldOrNewCard()
{
    // Killed at random moments of its start, which replaces the card: each
    // time the file holds the old card or the new one, and the whole
    // collection.
    QRandomGenerator random(20261210);
    int oldCards = 0;
    int newCards = 0;
    for (int i = 0; i < 20; ++i) {
        ProgramFolder folder;
        folder.createDatabase(ProgramFolder::card(3, 8));
        folder.addCollectionRows({{"5327", ProgramFolder::codeFor(1, 1)}, {"5327", ProgramFolder::codeFor(2, 2)}});
        const QStringList kept = collection(folder);
        QProcess process;
        ProgramRun::start(process, folder, {}, {ProgramRun::Display::Offscreen});
        QVERIFY(process.waitForStarted());
        QTest::qSleep(int(random.bounded(60)));
        process.kill();
        process.waitForFinished();

        const int rows = cardRows(folder);
        QVERIFY2(rows == 24 || rows == 1632, qPrintable(QString::number(rows)));
        (rows == 24 ? oldCards : newCards)++;
        QCOMPARE(collection(folder), kept);
        QCOMPARE(folder.column(QStringLiteral("pragma integrity_check")).value(0).toString(), QStringLiteral("ok"));
    }
    qInfo("%d kills left the old card, %d the new one", oldCards, newCards);
}

QTEST_MAIN(ProgramFilesTest)
#include "test_programfiles.moc"
