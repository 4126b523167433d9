// SPDX-License-Identifier: MIT
// Colours out of the program from the command line, as a user runs it:
// the collection and the card written as palette files and read back by
// readers written from the formats' descriptions, the nearest card colours
// listed; all without a display, on the database named by --database.
#include "ProgramFolder.h"
#include "ProgramRun.h"

#include "colour/PaletteEntry.h"
#include "colour/PaletteReader.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <unistd.h>

namespace {

using Run = ProgramRun::Result;

// The program's command line on the folder's database, without a display.
Run tesselle(const ProgramFolder &folder, const QStringList &arguments, bool unprivileged = false)
{
    return ProgramRun::run(folder, QStringList{QStringLiteral("--database"), folder.databasePath()} + arguments,
                           {ProgramRun::Display::None, unprivileged});
}

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class ExportTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void collectionReadsBack_data();
    void collectionReadsBack();
    void cardReadsBack();
    void unwritableOrUnknownTargets_data();
    void unwritableOrUnknownTargets();
    void nearest_data();
    void nearest();
    void roundTrip_data();
    void roundTrip();
    void importMatchesAndSkips();
    void importAllOrNothing_data();
    void importAllOrNothing();
    void importIntoReadOnlyChangesNothing();

private:
    std::unique_ptr<ProgramFolder> m_folder;
    QVector<CardRow> m_card;
};

void ExportTest::init()
{
    // A grey, a vivid colour and an entry whose colour is unknown.
    m_card = ProgramFolder::card(4, 3);
    m_card[1].r = m_card[1].g = m_card[1].b = 128;
    m_card[5].r = 230;
    m_card[5].g = 20;
    m_card[5].b = 60;
    m_folder = std::make_unique<ProgramFolder>();
    m_folder->createDatabase(m_card);
    m_folder->addCollectionRows({{"5327", m_card[5].code}, {"5327", "X9.99.99"}, {"5327", m_card[1].code}});
}

void ExportTest::collectionReadsBack_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("keepsUnknown");  // the format can hold an entry without a colour
    QTest::newRow("gpl") << "mine.gpl" << false;
    QTest::newRow("ase") << "mine.ase" << false;
    QTest::newRow("csv") << "mine.csv" << true;
}

void ExportTest::collectionReadsBack()
{
    QFETCH(QString, name);
    QFETCH(bool, keepsUnknown);
    const QString path = QDir(m_folder->path()).filePath(name);
    const Run run = tesselle(*m_folder, {QStringLiteral("--export"), path});
    QCOMPARE(run.code, 0);
    QVERIFY2(run.out.contains(QStringLiteral("Exported %1 colours to %2.").arg(keepsUnknown ? 3 : 2).arg(path)),
             qPrintable(run.out));
    if (!keepsUnknown)
        QVERIFY2(run.out.contains(QLatin1String("1 entry without a known colour left out")), qPrintable(run.out));

    const QByteArray bytes = contentsOf(path);
    const PaletteReader::Result read = name.endsWith(QLatin1String("gpl")) ? PaletteReader::gimp(bytes)
        : name.endsWith(QLatin1String("ase"))                               ? PaletteReader::adobeSwatchExchange(bytes)
                                                                             : PaletteReader::csv(bytes);
    QVERIFY2(read.ok(), qPrintable(read.error));
    // The collection's order, each colour as the card holds it.
    QStringList codes;
    for (const PaletteEntry &e : read.entries)
        codes.append(e.code);
    const QStringList expected = keepsUnknown ? QStringList{m_card[5].code, "X9.99.99", m_card[1].code}
                                              : QStringList{m_card[5].code, m_card[1].code};
    QCOMPARE(codes, expected);
    for (const PaletteEntry &e : read.entries) {
        if (e.code == QLatin1String("X9.99.99")) {
            QVERIFY(!e.rgb);
            continue;
        }
        const CardRow &row = e.code == m_card[5].code ? m_card[5] : m_card[1];
        QVERIFY(e.rgb);
        QCOMPARE(*e.rgb & 0xffffff, QRgb((row.r << 16) | (row.g << 8) | row.b));
    }
}

void ExportTest::cardReadsBack()
{
    const QString path = QDir(m_folder->path()).filePath(QStringLiteral("card.csv"));
    const Run run = tesselle(*m_folder, {QStringLiteral("--export"), path, QStringLiteral("--card")});
    QCOMPARE(run.code, 0);
    const PaletteReader::Result read = PaletteReader::csv(contentsOf(path));
    QVERIFY2(read.ok(), qPrintable(read.error));
    QCOMPARE(read.entries.size(), m_card.size());
    for (int i = 0; i < m_card.size(); ++i) {
        QCOMPARE(read.entries.at(i).code, m_card.at(i).code);
        QCOMPARE(read.entries.at(i).page, m_card.at(i).page);
        QCOMPARE(read.entries.at(i).row, m_card.at(i).row);
    }
}

void ExportTest::unwritableOrUnknownTargets_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("code");
    QTest::newRow("unknown format") << "mine.txt" << 2;
    QTest::newRow("no such folder") << "missing/mine.gpl" << 1;
}

void ExportTest::unwritableOrUnknownTargets()
{
    QFETCH(QString, name);
    QFETCH(int, code);
    const QString path = QDir(m_folder->path()).filePath(name);
    const Run run = tesselle(*m_folder, {QStringLiteral("--export"), path});
    QCOMPARE(run.code, code);
    QVERIFY2(run.err.contains(path), qPrintable(run.err));
    QVERIFY(!QFile::exists(path));
}

void ExportTest::nearest_data()
{
    QTest::addColumn<QString>("colour");
    QTest::addColumn<QString>("first");
    // The fixture's grey is page 1 row 2, its vivid colour page 2 row 3.
    QTest::newRow("a code in small letters") << ProgramFolder::codeFor(1, 3).toLower() << ProgramFolder::codeFor(1, 3);
    QTest::newRow("the grey's own value") << "#808080" << ProgramFolder::codeFor(1, 2);
    QTest::newRow("near the vivid colour") << "rgb(228, 22, 61)" << ProgramFolder::codeFor(2, 3);
}

void ExportTest::nearest()
{
    QFETCH(QString, colour);
    QFETCH(QString, first);
    const Run run = tesselle(*m_folder, {QStringLiteral("--nearest"), colour, QStringLiteral("--count"), QStringLiteral("3")});
    QCOMPARE(run.code, 0);
    const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QVERIFY2(lines.first().startsWith(first), qPrintable(run.out));
    QVERIFY2(run.err.contains(QLatin1String("on-screen approximation")), qPrintable(run.err));
}

void ExportTest::roundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("gpl") << "mine.gpl";
    QTest::newRow("ase") << "mine.ase";
    QTest::newRow("csv") << "mine.csv";
}

void ExportTest::roundTrip()
{
    // The collection of known colours out and into an empty collection.
    QFETCH(QString, name);
    m_folder->exec(QStringLiteral("delete from baby2 where code = 'X9.99.99'"));
    m_folder->addCollectionRows({{"5327", m_card[9].code}});
    const QStringList before = m_folder->collectionCodes();
    const QString path = QDir(m_folder->path()).filePath(name);
    QCOMPARE(tesselle(*m_folder, {QStringLiteral("--export"), path}).code, 0);

    ProgramFolder other;
    other.createDatabase(m_card);
    const Run run = tesselle(other, {QStringLiteral("--import"), path});
    QCOMPARE(run.code, 0);
    QCOMPARE(other.collectionCodes(), before);
    QVERIFY2(run.out.contains(QLatin1String("3 added (0 matched to the nearest card colour), 0 skipped")),
             qPrintable(run.out));
}

void ExportTest::importMatchesAndSkips()
{
    // A palette of another program: a card code in small letters, a colour
    // near the fixture's vivid one under a name of its own, a colour
    // collected already, and the same code twice.
    const QString path = QDir(m_folder->path()).filePath(QStringLiteral("theirs.gpl"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("GIMP Palette\nName: theirs\n#\n"
               "  1   2   3\t" + ProgramFolder::codeFor(3, 1).toLower().toUtf8() + "\n"
               "228  22  61\tPoppy\n"
               "128 128 128\tAlready\n"
               "  1   2   3\t" + ProgramFolder::codeFor(3, 1).toUtf8() + "\n");
    file.close();
    const Run run = tesselle(*m_folder, {QStringLiteral("--import"), path});
    QCOMPARE(run.code, 0);
    QVERIFY2(run.out.contains(QLatin1String("1 added (0 matched to the nearest card colour), 3 skipped")),
             qPrintable(run.out));
    // Poppy is nearest the vivid colour, which is collected already; the
    // grey too; the code is taken in the card's spelling, once.
    QCOMPARE(m_folder->collectionCodes(),
             QStringList({m_card[5].code, "X9.99.99", m_card[1].code, ProgramFolder::codeFor(3, 1)}));

    // Into an empty collection the colour is matched and added.
    ProgramFolder other;
    other.createDatabase(m_card);
    const Run second = tesselle(other, {QStringLiteral("--import"), path});
    QVERIFY2(second.out.contains(QLatin1String("3 added (2 matched to the nearest card colour), 1 skipped")),
             qPrintable(second.out));
    QCOMPARE(other.collectionCodes(), QStringList({ProgramFolder::codeFor(3, 1), m_card[5].code, m_card[1].code}));
}

void ExportTest::importAllOrNothing_data()
{
    // Rows go into the file in groups of fifty and the rest one by one: a
    // row kept out by another program's trigger anywhere undoes the import.
    QTest::addColumn<int>("keptOut");  // the position of the row a trigger skips; -1 none
    QTest::newRow("all taken") << -1;
    QTest::newRow("kept out in a group") << 74;
    QTest::newRow("kept out after the groups") << 115;
}

void ExportTest::importAllOrNothing()
{
    QFETCH(int, keptOut);
    const QVector<CardRow> card = ProgramFolder::card(15, 8);
    ProgramFolder source;
    source.createDatabase(card);
    const QString path = QDir(source.path()).filePath(QStringLiteral("card.csv"));
    QCOMPARE(tesselle(source, {QStringLiteral("--export"), path, QStringLiteral("--card")}).code, 0);

    ProgramFolder target;
    target.createDatabase(card);
    if (keptOut >= 0)
        target.exec(QStringLiteral("create trigger keep_out before insert on baby2 when new.code = '%1' "
                                   "begin select raise(ignore); end").arg(card.at(keptOut).code));
    const Run run = tesselle(target, {QStringLiteral("--import"), path});
    if (keptOut < 0) {
        QCOMPARE(run.code, 0);
        QVERIFY2(run.out.contains(QLatin1String("120 added")), qPrintable(run.out));
        QStringList codes;
        for (const CardRow &row : card)
            codes.append(row.code);
        // In the card's order, read back in sn order.
        QCOMPARE(target.collectionCodes(), codes);
    } else {
        QCOMPARE(run.code, 1);
        QVERIFY2(run.err.contains(QLatin1String("The collection could not be changed.")), qPrintable(run.err));
        QCOMPARE(target.collectionCodes(), QStringList());
    }
}

void ExportTest::importIntoReadOnlyChangesNothing()
{
    const QString path = QDir(m_folder->path()).filePath(QStringLiteral("mine.csv"));
    QCOMPARE(tesselle(*m_folder, {QStringLiteral("--export"), path, QStringLiteral("--card")}).code, 0);
    const QStringList before = m_folder->collectionCodes();
    QFile::setPermissions(m_folder->databasePath(), QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    // File permissions do not bind root: run as "nobody" then.
    const Run run = tesselle(*m_folder, {QStringLiteral("--import"), path}, true);
    QVERIFY(run.finished);
    const QString errors = run.err;
    QCOMPARE(run.code, 1);
    QVERIFY2(errors.contains(QStringLiteral("The collection cannot be changed: %1 is read-only.").arg(m_folder->databasePath())),
             qPrintable(errors));
    QCOMPARE(m_folder->collectionCodes(), before);
}

QTEST_GUILESS_MAIN(ExportTest)
#include "test_export.moc"
