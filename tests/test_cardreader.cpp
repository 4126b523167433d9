// SPDX-License-Identifier: MIT
// The card's CSV, read by the one set of rules that the database builder
// and start-up share: a card that breaks one is refused with its line and
// reason, by both, and no database is built from it.
#include "ProgramFolder.h"
#include "ProgramRun.h"

#include "data/CardReader.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

namespace {

const QByteArray header = "Sn,Page,Row,Code,R,G,B\n";
const QByteArray good = header + "1,1,1,K8.04.43,10,20,30\n2,1,2,K8.04.44,40,50,60\n";

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class CardReaderTest : public QObject
{
    Q_OBJECT

private slots:
    void refusals_data();
    void refusals();
    void readsWhatItAccepts();
    void shippedCardReads();
    void builderRefusesWithLineAndReason();
    void startUpRefusesWithLineAndReason();
};

void CardReaderTest::refusals_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("reason");

    QTest::newRow("empty") << QByteArray() << 1 << "empty, expected the header \"Sn,Page,Row,Code,R,G,B\"";
    QTest::newRow("another header") << QByteArray("Sn,Page,Row,Code,R,G\n1,1,1,K8.04.43,1,2\n") << 1
                                    << "expected the header \"Sn,Page,Row,Code,R,G,B\", found \"Sn,Page,Row,Code,R,G\"";
    QTest::newRow("header only") << header << 1 << "no colours after the header";
    QTest::newRow("too few fields") << header + "1,1,1,K8.04.43,1,2\n" << 2 << "expected 7 fields, found 6";
    QTest::newRow("too many fields") << good + "3,1,3,K8.04.45,1,2,3,4\n" << 4 << "expected 7 fields, found 8";
    QTest::newRow("blank line inside") << header + "1,1,1,K8.04.43,1,2,3\n\n2,1,2,K8.04.44,1,2,3\n" << 3
                                       << "expected 7 fields, found 1";
    QTest::newRow("R above 255") << header + "1,1,1,K8.04.43,300,0,0\n" << 2 << "R 300 is out of range 0..255";
    QTest::newRow("B above 255") << good + "3,1,3,K8.04.45,0,0,256\n" << 4 << "B 256 is out of range 0..255";
    QTest::newRow("page 0") << header + "1,0,1,K8.04.43,1,2,3\n" << 2 << "Page 0 is out of range 1..9999";
    QTest::newRow("row 9") << header + "1,1,9,K8.04.43,1,2,3\n" << 2 << "Row 9 is out of range 1..8";
    QTest::newRow("sn 0") << header + "0,1,1,K8.04.43,1,2,3\n" << 2 << "Sn 0 is out of range 1..999999999";
    QTest::newRow("too many digits") << header + "1234567890,1,1,K8.04.43,1,2,3\n" << 2
                                     << "Sn 1234567890 is out of range 1..999999999";
    QTest::newRow("negative") << header + "1,1,1,K8.04.43,-1,2,3\n" << 2 << "R \"-1\" is not a whole number";
    QTest::newRow("space") << header + "1,1,1,K8.04.43, 1,2,3\n" << 2 << "R \" 1\" is not a whole number";
    QTest::newRow("fraction") << header + "1,1.5,1,K8.04.43,1,2,3\n" << 2 << "Page \"1.5\" is not a whole number";
    QTest::newRow("short code") << header + "1,1,1,K8.04.4,1,2,3\n" << 2 << "Code \"K8.04.4\" has 7 characters, expected 8";
    QTest::newRow("sn twice") << good + "1,1,3,K8.04.45,1,2,3\n" << 4 << "Sn 1 appears twice";
    QTest::newRow("code twice") << good + "3,1,3,K8.04.43,1,2,3\n" << 4 << "Code K8.04.43 repeats line 2";
    QTest::newRow("code twice in another case") << good + "3,1,3,k8.04.43,1,2,3\n" << 4
                                                << "Code k8.04.43 repeats line 2";
    QTest::newRow("page and row twice") << good + "3,1,2,K8.04.45,1,2,3\n" << 4 << "page 1 row 2 repeats line 3";
}

void CardReaderTest::refusals()
{
    QFETCH(QByteArray, csv);
    QFETCH(int, line);
    QFETCH(QString, reason);
    const CardReader::Result card = CardReader::read(csv);
    QVERIFY(!card.ok());
    QCOMPARE(card.line, line);
    QCOMPARE(card.reason, reason);
    QVERIFY(card.rows.isEmpty());
    QCOMPARE(card.refusal(), QStringLiteral("line %1: %2").arg(line).arg(reason));
}

void CardReaderTest::readsWhatItAccepts()
{
    // A byte-order mark, Windows line ends and blank lines at the end.
    const CardReader::Result card = CardReader::read("\xEF\xBB\xBFSn,Page,Row,Code,R,G,B\r\n"
                                                     "7,9999,8,K8.04.43,0,128,255\r\n"
                                                     "999999999,1,1,Ž0.00.97,255,0,0\r\n\r\n\n");
    QVERIFY2(card.ok(), qPrintable(card.refusal()));
    QCOMPARE(card.rows.size(), 2);
    const CardRow &first = card.rows.at(0);
    QCOMPARE(first.sn, 7);
    QCOMPARE(first.page, 9999);
    QCOMPARE(first.row, 8);
    QCOMPARE(first.code, QStringLiteral("K8.04.43"));
    QCOMPARE(first.r, 0);
    QCOMPARE(first.g, 128);
    QCOMPARE(first.b, 255);
    QCOMPARE(card.rows.at(1).sn, 999999999);
    QCOMPARE(card.rows.at(1).code, QStringLiteral("Ž0.00.97"));
}

void CardReaderTest::shippedCardReads()
{
    QFile file(QStringLiteral(TESSELLE_SOURCE_DIR "/data/card5327.csv"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const CardReader::Result card = CardReader::read(file.readAll());
    QVERIFY2(card.ok(), qPrintable(card.refusal()));
    QCOMPARE(card.rows.size(), 1632);
}

// The card of the fault once seen: R = 300, a code beside itself in another
// case and a page and row used twice; the first is what each refuses.
static const QByteArray badCard = "Sn,Page,Row,Code,R,G,B\n1,1,1,K8.04.43,10,20,30\n2,1,2,k8.04.43,300,0,0\n"
                                  "3,1,1,K8.04.44,1,2,3\n";

void CardReaderTest::builderRefusesWithLineAndReason()
{
    ProgramFolder folder;
    const QString csv = QDir(folder.path()).filePath(QStringLiteral("bad.csv"));
    const QString database = QDir(folder.path()).filePath(QStringLiteral("built.db"));
    writeFile(csv, badCard);
    QProcess makedb;
    makedb.start(QStringLiteral(TESSELLE_MAKEDB), {csv, database});
    QVERIFY(makedb.waitForFinished(30000));
    QCOMPARE(makedb.exitCode(), 1);
    const QString errors = QString::fromLocal8Bit(makedb.readAllStandardError());
    QVERIFY2(errors.contains(QStringLiteral("%1:3: R 300 is out of range 0..255").arg(csv)), qPrintable(errors));
    QVERIFY(!QFile::exists(database));
    QCOMPARE(QDir(folder.path()).entryList({QStringLiteral("*.db*"), QStringLiteral(".dbtsl*")},
                                           QDir::Files | QDir::Hidden),
             QStringList());
}

void CardReaderTest::startUpRefusesWithLineAndReason()
{
    // The data folder's card cannot be used: the user's database is made
    // from the card built into the program, never from the refused one.
    ProgramFolder folder;
    const QString csv = QDir(folder.path()).filePath(QStringLiteral("card5327.csv"));
    writeFile(csv, badCard);
    const ProgramRun::Result run = ProgramRun::run(folder);
    QCOMPARE(run.code, 0);
    QVERIFY2(run.err.contains(QStringLiteral("%1 cannot be used: line 3: R 300 is out of range 0..255").arg(csv)),
             qPrintable(run.err));
    ProgramFolder reader;
    QVERIFY(QFile::copy(QDir(folder.path()).filePath(QStringLiteral("home/.local/share/tesselle/dbtsl.db")),
                        reader.databasePath()));
    QCOMPARE(reader.column(QStringLiteral("select count(*) from \"5327\"")).value(0).toInt(), 1632);
    QCOMPARE(reader.column(QStringLiteral("select count(*) from \"5327\" where code = 'k8.04.43' collate binary")).value(0).toInt(), 0);
}

QTEST_GUILESS_MAIN(CardReaderTest)
#include "test_cardreader.moc"
