// SPDX-License-Identifier: MIT
// The data cursor over a real SQLite file: snapshot results, rows added and
// deleted through it, and the failure path.
#include "FailureRecorder.h"
#include "ProgramFolder.h"
#include "ProgramRun.h"

#include "data/DataCursor.h"
#include "data/Recordset.h"
#include "data/Statements.h"

#include <QFile>
#include <QProcess>
#include <QTest>

class DataCursorTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void highestPageUsesAlias();
    void snapshotIgnoresLaterWritesUntilRefresh();
    void addedRowBelongsToResultWithoutRefresh();
    void deleteRemovesExactlyTheCurrentRow();
    void moveAndFieldNames();
    void codesAreBoundValues_data();
    void codesAreBoundValues();
    void failuresAreReported_data();
    void failuresAreReported();
    void missingNamedDatabaseEndsProgramWithoutCreatingOne();

private:
    std::unique_ptr<ProgramFolder> m_folder;
    std::unique_ptr<DataCursor> m_cursor;
};

void DataCursorTest::init()
{
    m_folder = std::make_unique<ProgramFolder>();
    m_folder->createDatabase(ProgramFolder::card(3, 4));
    m_cursor = std::make_unique<DataCursor>();
    m_cursor->setDatabasePath(m_folder->databasePath());
}

void DataCursorTest::cleanup()
{
    m_cursor.reset();
    m_folder.reset();
}

void DataCursorTest::highestPageUsesAlias()
{
    m_cursor->setRecordSource(Statements::highestPage(QStringLiteral("5327")));
    QVERIFY(m_cursor->Refresh());
    QCOMPARE(m_cursor->recordset().field(QStringLiteral("Expr1000")).toInt(), 3);
}

void DataCursorTest::snapshotIgnoresLaterWritesUntilRefresh()
{
    m_folder->addCollectionRows({{"5327", "T0.01.01"}});
    m_cursor->setRecordSource(Statements::collection());
    QVERIFY(m_cursor->Refresh());
    QCOMPARE(m_cursor->recordset().RecordCount(), 1);

    m_folder->addCollectionRows({{"5327", "T0.01.02"}});
    QCOMPARE(m_cursor->recordset().RecordCount(), 1);
    // Setting the record source does not run it either.
    m_cursor->setRecordSource(Statements::collection());
    QCOMPARE(m_cursor->recordset().RecordCount(), 1);
    QVERIFY(m_cursor->Refresh());
    QCOMPARE(m_cursor->recordset().RecordCount(), 2);
}

void DataCursorTest::addedRowBelongsToResultWithoutRefresh()
{
    m_cursor->setRecordSource(Statements::collection());
    QVERIFY(m_cursor->Refresh());
    Recordset &rs = m_cursor->recordset();
    QCOMPARE(rs.RecordCount(), 0);
    rs.AddNew();
    rs.setField(QStringLiteral("ccard_name"), QStringLiteral("5327"));
    rs.setField(QStringLiteral("code"), QStringLiteral("T0.02.03"));
    QVERIFY(rs.Update());
    QCOMPARE(rs.RecordCount(), 1);
    QCOMPARE(rs.field(QStringLiteral("code")).toString(), QStringLiteral("T0.02.03"));
    QVERIFY(!rs.field(QStringLiteral("sn")).isNull());
    // It is in the file at once.
    QCOMPARE(m_folder->collectionCodes(), QStringList{QStringLiteral("T0.02.03")});
}

void DataCursorTest::deleteRemovesExactlyTheCurrentRow()
{
    // Two rows share a code: only the one under the cursor goes.
    m_folder->addCollectionRows({{"5327", "A"}, {"5327", "B"}, {"9999", "B"}, {"5327", "C"}});
    m_cursor->setRecordSource(Statements::collection());
    QVERIFY(m_cursor->Refresh());
    Recordset &rs = m_cursor->recordset();
    rs.MoveFirst();
    rs.Move(2);
    QCOMPARE(rs.field(QStringLiteral("ccard_name")).toString(), QStringLiteral("9999"));
    QVERIFY(rs.Delete());
    QCOMPARE(rs.RecordCount(), 3);
    QCOMPARE(rs.field(QStringLiteral("code")).toString(), QStringLiteral("C"));
    QCOMPARE(m_folder->collectionCodes(), QStringList({"A", "B", "C"}));
    QVERIFY(m_cursor->Refresh());
    QCOMPARE(m_cursor->recordset().field(QStringLiteral("ccard_name")).toString(), QStringLiteral("5327"));
}

void DataCursorTest::moveAndFieldNames()
{
    m_cursor->setRecordSource(Statements::page(2));
    QVERIFY(m_cursor->Refresh());
    Recordset &rs = m_cursor->recordset();
    QCOMPARE(rs.RecordCount(), 4);
    rs.Move(3);
    QCOMPARE(rs.field(QStringLiteral("Row")).toInt(), 4);
    // Field names match without regard to case.
    QCOMPARE(rs.field(QStringLiteral("code")).toString(), ProgramFolder::codeFor(2, 4));
    QCOMPARE(rs.field(QStringLiteral("CODE")).toString(), ProgramFolder::codeFor(2, 4));
    rs.MoveNext();
    QVERIFY(rs.atEOF());
    QVERIFY(rs.field(QStringLiteral("Code")).isNull());
    rs.MoveFirst();
    QCOMPARE(rs.field(QStringLiteral("Row")).toInt(), 1);
    QVERIFY(rs.field(QStringLiteral("NoSuchField")).isNull());
}

void DataCursorTest::codesAreBoundValues_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("found");

    QTest::newRow("exact") << ProgramFolder::codeFor(1, 2) << 1;
    QTest::newRow("lower case") << ProgramFolder::codeFor(1, 2).toLower() << 1;
    QTest::newRow("double quote") << QStringLiteral("T0\".01.01") << 0;
    QTest::newRow("quote and or") << QStringLiteral("x' or '1'='1") << 0;
    QTest::newRow("statement end") << QStringLiteral("1; drop table baby2; --") << 0;
    QTest::newRow("empty groups") << QStringLiteral("..") << 0;
}

void DataCursorTest::codesAreBoundValues()
{
    QFETCH(QString, code);
    QFETCH(int, found);
    FailureRecorder failures;
    m_cursor->setRecordSource(Statements::codeLookup(code));
    QVERIFY(m_cursor->Refresh());
    QCOMPARE(m_cursor->recordset().RecordCount(), found);
    QVERIFY(failures.failures.isEmpty());
    m_cursor->setRecordSource(Statements::collection());
    QVERIFY(m_cursor->Refresh());  // baby2 is still there
}

void DataCursorTest::failuresAreReported_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("engineWords");

    QTest::newRow("missing file") << "remove" << "does not exist";
    QTest::newRow("missing card table") << "drop card" << "no such table";
    QTest::newRow("not a database") << "garbage" << "";
}

void DataCursorTest::failuresAreReported()
{
    QFETCH(QString, setup);
    QFETCH(QString, engineWords);
    const QString path = m_folder->databasePath();
    if (setup == QLatin1String("remove")) {
        QVERIFY(QFile::remove(path));
    } else if (setup == QLatin1String("drop card")) {
        m_folder->exec(QStringLiteral("drop table \"5327\""));
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray(4096, 'x'));
    }

    FailureRecorder failures;
    m_cursor->setRecordSource(Statements::highestPage(QStringLiteral("5327")));
    QVERIFY(!m_cursor->Refresh());
    QCOMPARE(failures.failures.size(), 1);
    const DatabaseFailure &f = failures.failures.first();
    QCOMPARE(f.file, path);
    QVERIFY(f.text().contains(path));
    QVERIFY(!f.action.isEmpty());
    QVERIFY2(f.engineMessage.contains(engineWords, Qt::CaseInsensitive), qPrintable(f.engineMessage));
    QVERIFY(!f.engineMessage.isEmpty());
    // The failed operation leaves an empty result behind.
    QCOMPARE(m_cursor->recordset().RecordCount(), 0);
    QVERIFY(m_cursor->recordset().field(QStringLiteral("Expr1000")).isNull());
    if (setup == QLatin1String("remove"))
        QVERIFY(!QFile::exists(path));
}

void DataCursorTest::missingNamedDatabaseEndsProgramWithoutCreatingOne()
{
    // The real program, copied into a program folder without a database.
    ProgramFolder folder;
    const ProgramRun::Result run = ProgramRun::run(folder, {QStringLiteral("--database"), folder.databasePath()});
    QVERIFY(run.finished);
    QCOMPARE(run.status, QProcess::NormalExit);
    QCOMPARE(run.code, 1);
    const QString message = run.err;
    QVERIFY2(message.contains(folder.databasePath()), qPrintable(message));
    QVERIFY(!QFile::exists(folder.databasePath()));
}

QTEST_MAIN(DataCursorTest)
#include "test_datacursor.moc"
