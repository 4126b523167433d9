// SPDX-License-Identifier: MIT
// Colours out of the program from the command line, as a user runs it:
// the collection and the card written as palette files and read back by
// readers written from the formats' descriptions, the nearest card colours
// listed; all without a display, on the database named by --database.
#include "PaletteBytes.h"
#include "OtherProgram.h"
#include "ProgramFolder.h"
#include "ProgramRun.h"

#include "colour/PaletteEntry.h"
#include "colour/PaletteReader.h"

#include <QColor>
#include <QDir>
#include <QElapsedTimer>
#include <QHash>
#include <QtEndian>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

using Run = ProgramRun::Result;

// The program's command line on the folder's database, without a display.
Run tesselle(const ProgramFolder &folder, const QStringList &arguments,
             ProgramRun::Options options = {ProgramRun::Display::None})
{
    return ProgramRun::run(folder, QStringList{QStringLiteral("--database"), folder.databasePath()} + arguments,
                           options);
}

using PaletteBytes::aseColour;
using PaletteBytes::aseFile;
using PaletteBytes::be16;
using PaletteBytes::be32;
using PaletteBytes::utf16Name;

// A Photoshop swatch file: the version 1 section, then version 2 with names.
QByteArray acoFile(const QList<std::pair<QString, QVector<quint16>>> &colours)
{
    QByteArray v1 = be16(1) + be16(quint16(colours.size()));
    QByteArray v2 = be16(2) + be16(quint16(colours.size()));
    for (const auto &[name, values] : colours) {
        QByteArray colour;
        for (quint16 v : values)
            colour += be16(v);
        v1 += colour;
        v2 += colour + be32(quint32(name.size() + 1)) + utf16Name(name);
    }
    return v1 + v2;
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
    void exportLeavesWhatIsNoFile_data();
    void exportLeavesWhatIsNoFile();
    void exportRefusedWhileAnotherProgramHoldsTheFile_data();
    void exportRefusedWhileAnotherProgramHoldsTheFile();
    void nearest_data();
    void nearest();
    void roundTrip_data();
    void roundTrip();
    void importMatchesAndSkips();
    void importAllOrNothing_data();
    void importAllOrNothing();
    void importIntoReadOnlyChangesNothing();
    void importReportsEveryColour_data();
    void importReportsEveryColour();
    void importRefusesWhatIsNoFile_data();
    void importRefusesWhatIsNoFile();
    void importOfNoColours_data();
    void importOfNoColours();
    void importOfMillionsStaysSmall();
    void importSeesAnotherWritersAdd();
    void importTakesNoMatchBeyondMaxDelta();
    void emptyOrBadArguments_data();
    void emptyOrBadArguments();
    void unwritableStandardOutput_data();
    void unwritableStandardOutput();

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

void ExportTest::exportLeavesWhatIsNoFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("node");  // a FIFO made here, or where a link here points
    QTest::newRow("FIFO, .gpl") << "mine.gpl" << "fifo";
    QTest::newRow("FIFO, .pdf") << "mine.pdf" << "fifo";
    QTest::newRow("link to /dev/full, .gpl") << "mine.gpl" << "/dev/full";
    QTest::newRow("link to /dev/full, .pdf") << "mine.pdf" << "/dev/full";
    // Standard output is a pipe here: not written through, refused.
    QTest::newRow("link to /dev/stdout, .gpl") << "mine.gpl" << "/dev/stdout";
}

void ExportTest::exportLeavesWhatIsNoFile()
{
    // The file written beside its place and moved there would replace the
    // node with a regular file (as root, /dev/null itself): refused, said,
    // status 1, the node as it was. Never a real device's own name here:
    // the test runs as root.
    QFETCH(QString, name);
    QFETCH(QString, node);
    const QString path = m_folder->makeNode(name, node);
    QVERIFY(!path.isEmpty());
    // Nothing written beside it either: the folder's names after the run
    // are the node's and the ones the run itself makes (the program, home).
    const QDir folder(m_folder->path());
    const auto names = [&folder] {
        QStringList list = folder.entryList(QDir::AllEntries | QDir::System | QDir::Hidden);
        list.removeAll(QStringLiteral("home"));
        list.removeAll(QFileInfo(QStringLiteral(TESSELLE_PROGRAM)).fileName());
        return list;
    };
    const QStringList before = names();

    ProgramRun::Options options{ProgramRun::Display::None};
    options.waitMs = 20000;  // a FIFO opened for writing would block for ever
    const Run run = tesselle(*m_folder, {QStringLiteral("--export"), path}, options);
    QVERIFY2(run.finished, "still running after 20 s");
    QCOMPARE(run.code, 1);
    QVERIFY2(run.err.contains(QStringLiteral("%1 is not a regular file (a pipe or a device)").arg(path)), qPrintable(run.err));
    QVERIFY2(run.err.contains(QLatin1String("left as it is")), qPrintable(run.err));
    QVERIFY2(!run.out.contains(QLatin1String("Exported")), qPrintable(run.out));
    QVERIFY2(!run.out.contains(QLatin1String("GIMP Palette")), qPrintable(run.out));

    QVERIFY(ProgramFolder::isNode(path, node));
    struct stat info;
    QCOMPARE(::stat("/dev/full", &info), 0);
    QVERIFY(S_ISCHR(info.st_mode));
    QCOMPARE(names(), before);
}

void ExportTest::exportRefusedWhileAnotherProgramHoldsTheFile_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("collection over an older file") << QStringList{};
    QTest::newRow("whole card, no file before") << QStringList{QStringLiteral("--card")};
}

void ExportTest::exportRefusedWhileAnotherProgramHoldsTheFile()
{
    // A second program holds the file with an exclusive lock past the
    // wait: the export writes nothing, leaves an older file as it was,
    // says why and ends with status 1, instead of an empty palette.
    QFETCH(QStringList, arguments);
    const QString path = QDir(m_folder->path()).filePath(QStringLiteral("mine.gpl"));
    const QByteArray older = "GIMP Palette\n  1   2   3\tolder\n";
    if (arguments.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(older);
    }
    OtherProgram other(m_folder->databasePath());
    QByteArray why;
    QVERIFY2(other.hold("begin exclusive;\nselect count(*) from baby2;", &why), why.constData());

    ProgramRun::Options options{ProgramRun::Display::None};
    options.environment.insert(QStringLiteral("TESSELLE_BUSY_TIMEOUT_MS"), QStringLiteral("1000"));
    const Run run = tesselle(*m_folder, arguments + QStringList{QStringLiteral("--export"), path}, options);
    QCOMPARE(run.code, 1);
    QVERIFY2(run.err.contains(QStringLiteral("%1 was not written. The collection is in use by another program; try again.")
                                  .arg(path)),
             qPrintable(run.err));
    QVERIFY2(!run.out.contains(QLatin1String("Exported")), qPrintable(run.out));
    QCOMPARE(contentsOf(path), arguments.isEmpty() ? older : QByteArray());
    QCOMPARE(QFile::exists(path), arguments.isEmpty());
    QCOMPARE(QDir(m_folder->path()).entryList({QStringLiteral("mine.gpl.*")}, QDir::Files), QStringList());

    QVERIFY(other.commit());
    // With the lock gone, the same command writes the palette.
    const Run again = tesselle(*m_folder, arguments + QStringList{QStringLiteral("--export"), path}, options);
    QCOMPARE(again.code, 0);
    QVERIFY(contentsOf(path).startsWith("GIMP Palette\n"));
    QVERIFY(contentsOf(path) != older);
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
    QTest::newRow("css") << "mine.css";
    QTest::newRow("soc") << "mine.soc";
    QTest::newRow("Scribus xml") << "mine.xml";
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
    QVERIFY2(run.out.contains(QLatin1String("3 added, 0 skipped.\n  3 taken by code\n")), qPrintable(run.out));
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
    QVERIFY2(run.out.contains(QLatin1String("1 added, 3 skipped.\n  1 taken by code\n  2 collected already\n"
                                            "  1 merged: an earlier palette colour became the same card colour\n")),
             qPrintable(run.out));
    // Poppy is nearest the vivid colour, which is collected already; the
    // grey too; the code is taken in the card's spelling, once.
    QCOMPARE(m_folder->collectionCodes(),
             QStringList({m_card[5].code, "X9.99.99", m_card[1].code, ProgramFolder::codeFor(3, 1)}));

    // Into an empty collection the colour is matched and added.
    ProgramFolder other;
    other.createDatabase(m_card);
    const Run second = tesselle(other, {QStringLiteral("--import"), path});
    QVERIFY2(second.out.contains(QStringLiteral("3 added, 1 skipped.\n  1 taken by code\n"
                                                "  2 matched to the nearest card colour, the farthest at \u0394E00 ")),
             qPrintable(second.out));
    QVERIFY2(second.out.contains(QLatin1String("  1 merged")), qPrintable(second.out));
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
    const Run run = tesselle(*m_folder, {QStringLiteral("--import"), path}, {ProgramRun::Display::None, true});
    QVERIFY(run.finished);
    const QString errors = run.err;
    QCOMPARE(run.code, 1);
    QVERIFY2(errors.contains(QStringLiteral("The collection cannot be changed: %1 is read-only.").arg(m_folder->databasePath())),
             qPrintable(errors));
    QCOMPARE(m_folder->collectionCodes(), before);
}

void ExportTest::importReportsEveryColour_data()
{
    // Files in every colour model the formats hold; the report accounts for
    // each colour of the file, the ones read and the ones that cannot be.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("profile");  // a CMYK profile is at hand
    QTest::addColumn<int>("colours");   // in the file
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("said");
    const QString cmykNote = QStringLiteral("from CMYK, converted through /usr/share/color/icc/ghostscript/default_cmyk.icc, "
                                            "relative colorimetric");
    const QByteArray labAndCmyk = aseFile({aseColour("lab", "LAB ", {0.5f, 20, -30}),
                                           aseColour("cmyk", "CMYK", {0.1f, 0.9f, 0.2f, 0.05f})});
    QTest::newRow("ase Lab and CMYK") << "mine.ase" << labAndCmyk << true << 2 << 0
                                      << QStringList{"2 matched to the nearest card colour",
                                                     "Read 1 " + cmykNote + "; 1 from Lab (D50)."};
    QTest::newRow("ase Lab and CMYK, no CMYK profile")
        << "mine.ase" << labAndCmyk << false << 2 << 3
        << QStringList{"1 not read:", "block 2 \u201ccmyk\u201d: CMYK, and no CMYK profile is installed"};
    QTest::newRow("ase, a model not known")
        << "mine.ase" << aseFile({aseColour("odd", "XYZ ", {0.1f, 0.2f, 0.3f}), aseColour("red", "RGB ", {1, 0, 0})})
        << true << 2 << 3 << QStringList{"block 1 \u201codd\u201d: colour model \u201cXYZ\u201d is not known"};
    QTest::newRow("aco, versions 1 and 2")
        << "mine.aco"
        << acoFile({{"red", {0, 65535, 0, 0, 0}},
                    {"cyan ink", {2, 0, 65535, 65535, 65535}},
                    {"lab", {7, 5000, quint16(qint16(-2000)), 3000, 0}},
                    {"grey", {8, 5000, 0, 0, 0}},
                    {"book", {3, 1, 2, 3, 0}}})
        << true << 5 << 3 << QStringList{"colour 5 \u201cbook\u201d: colour space 3", "Read 1 " + cmykNote + "; 1 from Lab (D50)."};
    // A value that is no colour is not counted; one that cannot be read is.
    QTest::newRow("css, a value that is no colour, one that cannot be read")
        << "mine.css"
        << QByteArray(":root {\n  --color-T0-01-01: #0a0b0c;\n  --color-x: rgb(1, 2, 3);\n  --x-rgb: 1 2 3;\n"
                      "  --y: #ggg;\n}\n")
        << true << 3 << 3 << QStringList{"1 taken by code", "line 5 \u201c--y\u201d: \u201c#ggg\u201d is not a colour"};
    QTest::newRow("GIMP palette named .txt, a line that is no colour")
        << "mine.txt" << QByteArray("GIMP Palette\nName: x\n#\n0 0 0 black\n1 2\n255 255 255 white\n") << true << 3
        << 3 << QStringList{"line 5: a colour is three numbers", "Read as GIMP, Inkscape, Krita, LibreOffice palette by its content"};
    QTest::newRow("css, outside sRGB and translucent")
        << "mine.css" << QByteArray(".a{color:color(display-p3 0 1 0)}.b{color:#00ff0080}")
        << true << 2 << 0
        << QStringList{"Read 1 outside sRGB, matched by their Lab and shown clipped; 1 with an alpha below 1, matched as opaque."};
    QTest::newRow("Scribus RGB, CMYK and Lab")
        << "mine.xml"
        << QByteArray("<?xml version=\"1.0\"?>\n<SCRIBUSCOLORS Name=\"x\">\n"
                      "<COLOR NAME=\"a\" RGB=\"#ff0000\"/>\n<COLOR NAME=\"b\" CMYK=\"#ff000000\"/>\n"
                      "<COLOR NAME=\"c\" SPACE=\"Lab\" L=\"50\" A=\"10\" B=\"10\"/>\n"
                      "<COLOR NAME=\"d\" SPACE=\"CMYK\" C=\"0\" M=\"100\" Y=\"0\" K=\"0\"/>\n<COLOR NAME=\"e\"/>\n"
                      "</SCRIBUSCOLORS>\n")
        << true << 5 << 3 << QStringList{"line 7 \u201ce\u201d: no colour in RGB, CMYK or Lab",
                                    "Read 2 " + cmykNote + "; 1 from Lab (D50)."};
}

void ExportTest::importReportsEveryColour()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, data);
    QFETCH(bool, profile);
    QFETCH(int, colours);
    QFETCH(int, exitCode);
    QFETCH(QStringList, said);
    ProgramFolder other;
    other.createDatabase(m_card);
    const QString path = QDir(other.path()).filePath(name);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(data);
    file.close();
    ProgramRun::Options options{ProgramRun::Display::None};
    if (!profile)
        options.environment.insert(QStringLiteral("TESSELLE_CMYK_PROFILE"), QString());
    const Run run = tesselle(other, {QStringLiteral("--import"), path}, options);
    QCOMPARE(run.code, exitCode);
    for (const QString &text : said)
        QVERIFY2(run.out.contains(text), qPrintable(run.out + run.err));
    // Added and skipped make up the file's colours.
    const QRegularExpressionMatch counts = QRegularExpression(QStringLiteral(": (\\d+) added, (\\d+) skipped\\.")).match(run.out);
    QVERIFY2(counts.hasMatch(), qPrintable(run.out));
    QCOMPARE(counts.captured(1).toInt() + counts.captured(2).toInt(), colours);
    QCOMPARE(other.collectionCodes().size(), counts.captured(1).toInt());
}

void ExportTest::importOfNoColours_data()
{
    // Nothing found is a failure, unless the format itself says the
    // palette is empty.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said");
    QTest::newRow("css without a colour") << "mine.css" << QByteArray("a{display:none;--gap:4px}") << 1
                                          << "No colours found in ";
    QTest::newRow("css, empty") << "mine.css" << QByteArray() << 1 << "No colours found in ";
    QTest::newRow("csv, a header alone") << "mine.csv" << QByteArray("code,hex\r\n") << 1 << "No colours found in ";
    QTest::newRow("gpl listing none") << "mine.gpl" << QByteArray("GIMP Palette\nName: x\n#\n") << 0
                                      << " holds no colours";
    QTest::newRow("ase of no blocks") << "mine.ase" << aseFile(0, QByteArray()) << 0 << " holds no colours";
    QTest::newRow("aco of no colours") << "mine.aco" << acoFile({}) << 0 << " holds no colours";
    QTest::newRow("soc listing none") << "mine.soc" << QByteArray("<?xml version=\"1.0\"?><office:color-table "
                                                                  "xmlns:office=\"o\"/>")
                                      << 0 << " holds no colours";
    QTest::newRow("Scribus listing none") << "mine.xml" << QByteArray("<SCRIBUSCOLORS Name=\"x\"/>") << 0
                                          << " holds no colours";
}

void ExportTest::importOfNoColours()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, data);
    QFETCH(int, exitCode);
    QFETCH(QString, said);
    const QString path = QDir(m_folder->path()).filePath(name);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(data);
    file.close();
    const QStringList before = m_folder->collectionCodes();
    const Run run = tesselle(*m_folder, {QStringLiteral("--import"), path});
    QCOMPARE(run.code, exitCode);
    QVERIFY2((exitCode == 0 ? run.out : run.err).contains(said + (exitCode == 0 ? QString() : path)),
             qPrintable(run.out + run.err));
    QCOMPARE(m_folder->collectionCodes(), before);
}

// A legal file near the size limit: 3.3 million colours (55 MB of CSV)
// imported from the command line peak below 300 MB, counted as read rather
// than held as rows. The child's own peak, from wait4(); the sanitizers'
// shadow memory would measure themselves, so only the build as shipped.
void ExportTest::importOfMillionsStaysSmall()
{
#ifdef TESSELLE_SANITIZED
    QSKIP("peak memory is measured in the build as shipped");
#endif
    const QString path = QDir(m_folder->path()).filePath(QStringLiteral("millions.csv"));
    {
        QByteArray lines;
        for (const CardRow &row : m_card)
            lines += row.code.toUtf8() + ',' + QColor(row.r, row.g, row.b).name().toUtf8() + "\n";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("code,hex\n");
        const int copies = 3300000 / int(m_card.size());
        for (int i = 0; i < copies; ++i)
            file.write(lines);
        QVERIFY2(file.size() > 50 * 1000 * 1000 && file.size() < 64 * 1024 * 1024, qPrintable(QString::number(file.size())));
    }
    const QByteArray program = QByteArrayLiteral(TESSELLE_PROGRAM);
    const QByteArray database = QFile::encodeName(m_folder->databasePath());
    const QByteArray file = QFile::encodeName(path);
    const QByteArray output = QFile::encodeName(QDir(m_folder->path()).filePath(QStringLiteral("report.txt")));
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    char *arguments[] = {const_cast<char *>(program.constData()), const_cast<char *>("--database"),
                         const_cast<char *>(database.constData()), const_cast<char *>("--import"),
                         const_cast<char *>(file.constData()), nullptr};
    pid_t child = 0;
    QCOMPARE(posix_spawn(&child, program.constData(), &actions, nullptr, arguments, environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    // Bounded: the import takes seconds; two minutes is a fault.
    int status = 0;
    struct rusage usage = {};
    QElapsedTimer waited;
    waited.start();
    pid_t done = 0;
    while ((done = wait4(child, &status, WNOHANG, &usage)) == 0 && waited.elapsed() < 120000)
        QTest::qWait(100);
    if (done == 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        QFAIL("the import ran for more than two minutes");
    }
    QVERIFY(WIFEXITED(status));
    QFile report(QString::fromLocal8Bit(output));
    QVERIFY(report.open(QIODevice::ReadOnly));
    const QString said = QString::fromUtf8(report.readAll());
    QCOMPARE(WEXITSTATUS(status), 0);
    QVERIFY2(said.contains(QStringLiteral(": %1 added, ").arg(m_card.size() - 2)), qPrintable(said));
    // ru_maxrss is in KiB.
    QVERIFY2(usage.ru_maxrss < 300 * 1000 * 1000 / 1024, qPrintable(QStringLiteral("%1 KiB").arg(usage.ru_maxrss)));
}

void ExportTest::importRefusesWhatIsNoFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("said");
    QTest::newRow("FIFO") << "fifo" << "is not a regular file";
    QTest::newRow("/dev/zero") << "zero" << "is not a regular file";
    QTest::newRow("/dev/urandom") << "urandom" << "is not a regular file";
    QTest::newRow("folder") << "folder" << "is a folder";
    QTest::newRow("larger than 64 MiB") << "large" << "is larger than 64 MiB";
}

void ExportTest::importRefusesWhatIsNoFile()
{
    // Refused at once, whatever the name says: a FIFO without a writer would
    // hang an ordinary read, a device would never end.
    QFETCH(QString, kind);
    QFETCH(QString, said);
    const QString path = QDir(m_folder->path()).filePath(QStringLiteral("palette.csv"));
    if (kind == QLatin1String("fifo"))
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (kind == QLatin1String("zero") || kind == QLatin1String("urandom"))
        QVERIFY(QFile::link(QStringLiteral("/dev/") + kind, path));
    else if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(path));
    else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(64 * 1024 * 1024 + 1));
    }
    const QStringList before = m_folder->collectionCodes();
    ProgramRun::Options options{ProgramRun::Display::None};
    options.waitMs = 20000;
    const Run run = tesselle(*m_folder, {QStringLiteral("--import"), path}, options);
    QCOMPARE(run.code, 1);
    QVERIFY2(run.err.contains(said), qPrintable(run.err));
    QCOMPARE(m_folder->collectionCodes(), before);
}

void ExportTest::importSeesAnotherWritersAdd()
{
    // Another program holds the write lock and adds a code that the palette
    // names too: the import waits for it, then sees the code collected and
    // adds it no second time.
    const QString code = m_card[7].code;
    const QString path = QDir(m_folder->path()).filePath(QStringLiteral("theirs.gpl"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("GIMP Palette\n  1   2   3\t" + code.toUtf8() + "\n  1   2   3\t" + m_card[8].code.toUtf8() + "\n");
    file.close();

    OtherProgram other(m_folder->databasePath());
    QByteArray why;
    QVERIFY2(other.hold(QStringLiteral("begin immediate;\ninsert into baby2 (ccard_name, code) values ('5327', '%1');")
                            .arg(code).toUtf8(), &why),
             why.constData());

    QProcess import;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    import.setProcessEnvironment(env);
    import.start(QStringLiteral(TESSELLE_PROGRAM), {QStringLiteral("--database"), m_folder->databasePath(),
                                                    QStringLiteral("--import"), path});
    QVERIFY(import.waitForStarted());
    // The import is waiting for the lock while the other program commits.
    QVERIFY(!import.waitForFinished(1500));
    QVERIFY(other.commit());
    QVERIFY(import.waitForFinished(30000));
    const QString out = QString::fromUtf8(import.readAllStandardOutput());
    QCOMPARE(import.exitCode(), 0);
    QVERIFY2(out.contains(QLatin1String("1 added, 1 skipped.")), qPrintable(out));
    QVERIFY2(out.contains(QLatin1String("1 collected meanwhile by another program")), qPrintable(out));
    QCOMPARE(m_folder->collectionCodes().count(code), 1);
    QCOMPARE(m_folder->collectionCodes().count(m_card[8].code), 1);
}

void ExportTest::importTakesNoMatchBeyondMaxDelta()
{
    // One colour exactly a card colour under a name of its own, one far
    // from every card colour.
    ProgramFolder other;
    other.createDatabase(m_card);
    const CardRow &exact = m_card[10];
    const QString path = QDir(other.path()).filePath(QStringLiteral("theirs.gpl"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("GIMP Palette\n%1 %2 %3\tSame\n0 255 0\tGreen\n").arg(exact.r).arg(exact.g).arg(exact.b).toUtf8());
    file.close();
    const Run run = tesselle(other, {QStringLiteral("--import"), path, QStringLiteral("--max-delta"), QStringLiteral("1.5")});
    QCOMPARE(run.code, 0);
    QVERIFY2(run.out.contains(QLatin1String("1 added, 1 skipped.")), qPrintable(run.out));
    QVERIFY2(run.out.contains(QStringLiteral("1 farther than \u0394E00 1.50 from every card colour")), qPrintable(run.out));
    QCOMPARE(other.collectionCodes(), QStringList{exact.code});
}

void ExportTest::emptyOrBadArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("said");
    QTest::newRow("--nearest \"\"") << QStringList{"--nearest", ""} << "--nearest needs a colour";
    QTest::newRow("--import \"\"") << QStringList{"--import", ""} << "--import needs the name of a palette file";
    QTest::newRow("--export \"\"") << QStringList{"--export", ""} << "--export needs the name of the file to write";
    QTest::newRow("--import of an unknown suffix") << QStringList{"--import", "x.txt"} << "the name must end in .gpl, .ase";
    // Standard output has no format in its name: refused before anything is read.
    QTest::newRow("--export /dev/stdout") << QStringList{"--export", "/dev/stdout"} << "/dev/stdout: the name must end in .gpl";
    QTest::newRow("--max-delta not a number") << QStringList{"--import", "x.gpl", "--max-delta", "far"}
                                              << "--max-delta takes a number 0 or more";
}

void ExportTest::emptyOrBadArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, said);
    const Run run = tesselle(*m_folder, arguments);
    QCOMPARE(run.code, 2);
    QVERIFY2(run.err.contains(said), qPrintable(run.err));
}

void ExportTest::unwritableStandardOutput_data()
{
    QTest::addColumn<QString>("redirect");
    QTest::newRow("/dev/full") << ">/dev/full";
    QTest::newRow("closed") << ">&-";
}

void ExportTest::unwritableStandardOutput()
{
    // A list that never reached its reader is no success.
    QFETCH(QString, redirect);
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("exec \"$0\" \"$@\" ") + redirect,
                                         QStringLiteral(TESSELLE_PROGRAM), QStringLiteral("--database"),
                                         m_folder->databasePath(), QStringLiteral("--nearest"), QStringLiteral("#0000ff"),
                                         QStringLiteral("--count"), QStringLiteral("100")});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 1);
    const QString errors = QString::fromUtf8(process.readAllStandardError());
    QVERIFY2(errors.contains(QLatin1String("could not be written to standard output")), qPrintable(errors));
}

QTEST_GUILESS_MAIN(ExportTest)
#include "test_export.moc"
