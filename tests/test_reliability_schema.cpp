// SPDX-License-Identifier: MIT
// The collection table as other tools and earlier versions leave it: its
// serial numbers reused, not the row id, null or repeated, and rules of
// its own. An addition counts only when a row was really made, and the
// entry deleted is the one shown. The start-up step gives the collection
// serial numbers that are never reused, in one transaction that a kill at
// any moment leaves undone or done, with the whole collection either way.
#include "OtherProgram.h"
#include "ProgramRun.h"
#include "WindowFixture.h"

#include "collection/CollectionPanel.h"
#include "data/DatabaseSetup.h"
#include "widgets/MovieControl.h"
#include "widgets/TextBox.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString a = QStringLiteral("T0.01.01");
const QString b = QStringLiteral("T0.01.02");
const QString n = QStringLiteral("T0.02.01");  // the colour added

const QString plainTable = QStringLiteral("create table baby2 (sn integer, ccard_name text, code text)");
const QString rowidTable = QStringLiteral("create table baby2 (sn integer primary key, ccard_name text, code text)");
const QString noKey = QStringLiteral(
    "The collection cannot be changed: its entries have no serial numbers of their own (sn).");

// Every entry of the collection as "sn|table|code", in sn order.
QStringList entries(const ProgramFolder &folder)
{
    QStringList rows;
    for (const QVariant &row : folder.column(QStringLiteral(
             "select coalesce(sn, 'null') || '|' || ccard_name || '|' || code from baby2 order by sn, code")))
        rows.append(row.toString());
    return rows;
}

QString tableSql(const ProgramFolder &folder)
{
    return folder.column(QStringLiteral("select sql from sqlite_master where name = 'baby2'")).value(0).toString();
}

// Replaces the collection table by the statements given, run on the file
// by another connection.
void remake(const ProgramFolder &folder, const QStringList &statements)
{
    folder.exec(QStringLiteral("drop table baby2"));
    for (const QString &sql : statements)
        folder.exec(sql);
}

QByteArray hashOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex();
}

} // namespace

class SchemaTest : public WindowFixture
{
    Q_OBJECT

private slots:
    void collectionShapes_data();
    void collectionShapes();
    void hostileRowsAreDeletedOneByOne();
    void newerFilesAreLeftWhole_data();
    void newerFilesAreLeftWhole();
    void headerNeverLowered();
    void startUpStep_data();
    void startUpStep();
    void killDuringStartUpStep();

private:
    QString panelState() const
    {
        return m_form->baby_num()->text() + m_form->baby_nummax()->text() + QLatin1Char(' ')
            + m_form->baby_code()->text();
    }
};

void SchemaTest::collectionShapes_data()
{
    QTest::addColumn<QStringList>("table");     // statements that make baby2
    QTest::addColumn<QString>("firstShown");    // the panel over the collection at start
    QTest::addColumn<QString>("lastAfterAdd");  // the panel on the last entry after adding N
    QTest::addColumn<QStringList>("afterDelete");  // the entries after deleting that last one
    QTest::addColumn<QString>("notice");        // what the user is told, if anything

    const QString both = QStringLiteral("insert into baby2 (sn, ccard_name, code) values (3, '5327', '%1'), (5, '5327', '%2')")
                             .arg(a, b);
    QTest::newRow("sn never reused")
        << QStringList{"create table baby2 (sn integer primary key autoincrement, ccard_name text, code text)", both}
        << "1/2 " + a << "3/3 " + n << QStringList{"3|5327|" + a, "5|5327|" + b} << QString();
    QTest::newRow("sn reused") << QStringList{rowidTable, both} << "1/2 " + a << "3/3 " + n
                               << QStringList{"3|5327|" + a, "5|5327|" + b} << QString();
    // The new row gets no serial number from the engine; the last insert's
    // row id (3) is A's serial number.
    QTest::newRow("sn a plain column") << QStringList{plainTable, both} << "1/2 " + a << "3/3 " + n
                                       << QStringList{"3|5327|" + a, "5|5327|" + b} << QString();
    QTest::newRow("sn the key of a table without row ids")
        << QStringList{rowidTable + QStringLiteral(" without rowid"), both} << "1/2 " + a << "3/3 " + n
        << QStringList{"3|5327|" + a, "5|5327|" + b} << QString();
    // Another program's rule keeps N out: nothing was added, and the entry
    // deleted is the last real one.
    QTest::newRow("a trigger skips the insert")
        << QStringList{rowidTable, both,
                       QStringLiteral("create trigger keep_out before insert on baby2 when new.code = '%1' "
                                      "begin select raise(ignore); end").arg(n)}
        << "1/2 " + a << "2/2 " + b << QStringList{"3|5327|" + a}
        << QStringLiteral("%1 was not added: the collection's file did not take it.").arg(n);
    // No entry can be told from another by its serial number: the
    // collection is shown, and changed by nothing.
    QTest::newRow("sn null")
        << QStringList{plainTable, QStringLiteral("insert into baby2 values (null, '5327', '%1'), (1, '5327', '%2')").arg(a, b)}
        << "1/2 " + a << "2/2 " + b << QStringList{"null|5327|" + a, "1|5327|" + b} << noKey;
    QTest::newRow("sn repeated")
        << QStringList{plainTable, QStringLiteral("insert into baby2 values (1, '5327', '%1'), (1, '5327', '%2')").arg(a, b)}
        << "1/2 " + a << "2/2 " + b << QStringList{"1|5327|" + a, "1|5327|" + b} << noKey;
    QTest::newRow("sn text")
        << QStringList{plainTable, QStringLiteral("insert into baby2 values ('x', '5327', '%1'), ('y', '5327', '%2')").arg(a, b)}
        << "1/2 " + a << "2/2 " + b << QStringList{"x|5327|" + a, "y|5327|" + b} << noKey;
}

void SchemaTest::collectionShapes()
{
    QFETCH(QStringList, table);
    QFETCH(QString, firstShown);
    QFETCH(QString, lastAfterAdd);
    QFETCH(QStringList, afterDelete);
    QFETCH(QString, notice);

    createFolder(ProgramFolder::card(3, 8));
    remake(*m_folder, table);
    QVERIFY(openWindow());
    QSignalSpy notices(m_form->collectionPanel(), &CollectionPanel::notice);
    emit m_form->palettac()->FSCommand(QString(), QString());
    QCOMPARE(panelState(), firstShown);

    m_form->pageMove(2);
    m_form->pagecolor_Click(1);
    emit m_form->addtobaby_swf()->FSCommand(QString(), QString());
    emit m_form->palettac()->FSCommand(QString(), QString());
    emit m_form->previousb_swf()->FSCommand(QString(), QString());
    QCOMPARE(panelState(), lastAfterAdd);

    emit m_form->deleteb_swf()->FSCommand(QString(), QString());
    QCOMPARE(entries(*m_folder), afterDelete);
    QStringList told;
    for (const QList<QVariant> &signal : std::as_const(notices))
        told.append(signal.at(0).toString());
    told.removeDuplicates();
    QCOMPARE(told, notice.isEmpty() ? QStringList() : QStringList{notice});

    // Stepping goes on over what the file holds.
    emit m_form->palettac()->FSCommand(QString(), QString());
    emit m_form->nextb_swf()->FSCommand(QString(), QString());
    const int count = int(afterDelete.size());
    QCOMPARE(m_form->baby_nummax()->text(), QStringLiteral("/%1").arg(count));
    QCOMPARE(m_form->baby_num()->text(), QString::number(count > 1 ? 2 : 1));
}

void SchemaTest::hostileRowsAreDeletedOneByOne()
{
    // Rows other tools left: codes and tables stored as blobs, numbers,
    // nulls, texts that differ by case, space or a quote only. Deleting the
    // first entry again and again removes each in turn, and only it.
    createFolder(ProgramFolder::card(3, 8));
    m_folder->exec(QStringLiteral(
        "insert into baby2 (ccard_name, code) values "
        "('5327', 'T0.01.01'), ('5327', X'54302E30312E3031'), ('5327', 'T0.01.01'), (X'35333237', 'T0.01.02'), "
        "('5327', 123), ('5327', 1.5), ('5327', null), (null, 'T0.01.03'), (5327, 'T0.01.04'), ('5327', ''), "
        "('5327', 't0.01.01'), ('5327', 'T0.01.01 '), ('5327', 'T0\"01'), ('5327', 'T0''01'), "
        "('5327', X'FF00FE'), ('', 'T0.01.05'), ('6000', 'T0.01.01'), ('5327', 'Ž0.01.01'), "
        "('5327', X''), ('5327', 'T0.01.06')"));
    QCOMPARE(m_folder->column(QStringLiteral("select count(*) from baby2")).value(0).toInt(), 20);
    QVERIFY(openWindow());
    QSignalSpy notices(m_form->collectionPanel(), &CollectionPanel::notice);
    emit m_form->palettac()->FSCommand(QString(), QString());

    const QVariantList sns = m_folder->column(QStringLiteral("select sn from baby2 order by sn"));
    for (int i = 0; i < sns.size(); ++i) {
        QCOMPARE(m_form->baby_num()->text(), QStringLiteral("1"));
        emit m_form->deleteb_swf()->FSCommand(QString(), QString());
        QCOMPARE(m_folder->column(QStringLiteral("select sn from baby2 order by sn")), sns.mid(i + 1));
    }
    QCOMPARE(m_form->baby_nummax()->text(), QStringLiteral("/0"));
    QStringList told;
    for (const QList<QVariant> &signal : std::as_const(notices))
        told.append(signal.at(0).toString());
    QVERIFY2(told.isEmpty(), qPrintable(told.join(QLatin1Char('\n'))));
}

void SchemaTest::newerFilesAreLeftWhole_data()
{
    QTest::addColumn<QStringList>("making");  // statements that make the file a newer version's
    QTest::addColumn<QString>("versions");    // how the refusal names both versions
    QTest::addColumn<bool>("inLog");          // made by a real sqlite3 and left in its write-ahead log

    // An old card version, a column of its own in the card table, a schema
    // this program does not know.
    QTest::newRow("user_version 9")
        << QStringList{"alter table \"5327\" add column extra text", "pragma user_version = 9"}
        << "database version 9; this version knows 2" << false;
    // The header says card 1, the meta table card 7: the meta table is the
    // truth.
    QTest::newRow("meta table newer")
        << QStringList{"create table tesselle_meta (key text primary key, value)",
                       "insert into tesselle_meta values ('card_version', 7)", "pragma user_version = 2",
                       "pragma application_id = 1"}
        << "card version 7; this version knows 2" << false;
    // Committed in a write-ahead log that was never checkpointed (the
    // writer was killed): the file's own header still says 2.
    QTest::newRow("user_version 99 in the write-ahead log")
        << QStringList{"pragma journal_mode = wal", "pragma wal_autocheckpoint = 0", "pragma user_version = 99"}
        << "database version 99; this version knows 2" << true;
}

void SchemaTest::newerFilesAreLeftWhole()
{
    QFETCH(QStringList, making);
    QFETCH(QString, versions);
    QFETCH(bool, inLog);

    createFolder(ProgramFolder::card(3, 8));
    m_folder->addCollectionRows({{"5327", a}, {"5327", b}});
    const QString path = m_folder->databasePath();
    if (inLog) {
        OtherProgram writer(path);
        QByteArray why;
        QVERIFY2(writer.hold(making.join(QLatin1String(";\n")).toUtf8() + ";", &why), why.constData());
        // Killed as it leaves: nothing checkpoints the log.
    } else {
        for (const QString &sql : making)
            m_folder->exec(sql);
    }
    const QString log = path + QStringLiteral("-wal");
    QCOMPARE(QFileInfo(log).size() > 0, inLog);
    // The hash of the file, and of its log where it has one: neither is
    // written, by a checkpoint or otherwise.
    const auto whole = [&] { return hashOf(path) + hashOf(log); };
    const QByteArray hash = whole();
    const QString newer = QStringLiteral("made by a newer version of Tesselle 5327 (%1)").arg(versions);

    // A start beside the program: told, on standard error and in the window.
    ProgramRun::Result run = ProgramRun::run(*m_folder);
    QCOMPARE(run.code, 0);
    QVERIFY2(run.err.contains(QStringLiteral("%1 is shown as it is and cannot be changed: it was %2.").arg(path, newer)),
             qPrintable(run.err));
    QCOMPARE(whole(), hash);

    // An export reads it; an import is refused, saying why.
    const QString card = QDir(m_folder->path()).filePath(QStringLiteral("card.csv"));
    run = ProgramRun::run(*m_folder, {QStringLiteral("--export"), card, QStringLiteral("--card")},
                          {ProgramRun::Display::None});
    QCOMPARE(run.code, 0);
    QVERIFY2(run.err.contains(newer), qPrintable(run.err));
    QVERIFY(QFileInfo(card).size() > 0);
    QCOMPARE(whole(), hash);
    run = ProgramRun::run(*m_folder, {QStringLiteral("--database"), path, QStringLiteral("--import"), card},
                          {ProgramRun::Display::None});
    QCOMPARE(run.code, 1);
    const QString refused =
        QStringLiteral("The collection cannot be changed: %1 was made by a newer version of Tesselle 5327.").arg(path);
    QVERIFY2(run.err.contains(refused), qPrintable(run.err));
    QCOMPARE(whole(), hash);

    // The window browses it; adding and deleting are refused, saying why.
    QVERIFY(openWindow());
    QSignalSpy notices(m_form->collectionPanel(), &CollectionPanel::notice);
    m_form->pageMove(2);
    QCOMPARE(m_form->pagen_text()->text(), QStringLiteral("2"));
    m_form->pagecolor_Click(1);
    emit m_form->addtobaby_swf()->FSCommand(QString(), QString());
    emit m_form->palettac()->FSCommand(QString(), QString());
    QCOMPARE(panelState(), "1/2 " + a);
    emit m_form->deleteb_swf()->FSCommand(QString(), QString());
    QCOMPARE(panelState(), "1/2 " + a);
    QCOMPARE(notices.size(), 2);
    QCOMPARE(notices.at(0).at(0).toString(), refused);
    QCOMPARE(notices.at(1).at(0).toString(), refused);
    m_form.reset();
    QCOMPARE(whole(), hash);
}

void SchemaTest::headerNeverLowered()
{
    // The header says card 9, the meta table this program's card: the meta
    // table is the truth, so the file is up to date and its header stays.
    createFolder(ProgramFolder::card(3, 8));
    for (const char *sql : {"create table baby2_new (sn integer primary key autoincrement, ccard_name text, code text)",
                            "drop table baby2", "alter table baby2_new rename to baby2",
                            "create index baby2_code on baby2 (code)",
                            "create table tesselle_meta (key text primary key, value)",
                            "insert into tesselle_meta values ('card_version', 2)", "pragma user_version = 2",
                            "pragma application_id = 9"})
        m_folder->exec(QLatin1String(sql));
    const DatabaseSetup::Outcome outcome =
        DatabaseSetup::migrate(m_folder->databasePath(), 2, [] { return QVector<CardRow>(); });
    QCOMPARE(int(outcome.kind), int(DatabaseSetup::Outcome::UpToDate));
    QCOMPARE(m_folder->column(QStringLiteral("pragma application_id")).value(0).toInt(), 9);
    QCOMPARE(m_folder->column(QStringLiteral("select count(*) from \"5327\"")).value(0).toInt(), 24);
}

void SchemaTest::startUpStep_data()
{
    QTest::addColumn<QStringList>("table");
    QTest::addColumn<bool>("rebuilt");  // whether baby2 gets serial numbers never reused

    const QString rows = QStringLiteral(
        "insert into baby2 (sn, ccard_name, code) values (2, '5327', 'T0.01.01'), (7, '6000', 'X'), "
        "(8, 'none', 'T0.01.01 '), (40, '5327', 'T0.02.08')");
    QTest::newRow("sn reused, with gaps") << QStringList{rowidTable, rows} << true;
    QTest::newRow("sn a plain column") << QStringList{plainTable, rows} << true;
    QTest::newRow("without row ids") << QStringList{rowidTable + QStringLiteral(" without rowid"), rows} << true;
    QTest::newRow("rules and an index of its own")
        << QStringList{rowidTable, rows, QStringLiteral("create index baby2_table on baby2 (ccard_name)"),
                       QStringLiteral("create trigger no_x before insert on baby2 when new.code = 'X' "
                                      "begin select raise(ignore); end")}
        << true;
    QTest::newRow("already never reused")
        << QStringList{"create table baby2 (sn integer primary key autoincrement, ccard_name text, code text)", rows}
        << false;
    QTest::newRow("sn null") << QStringList{plainTable, rows, QStringLiteral("update baby2 set sn = null where sn = 7")}
                             << false;
    QTest::newRow("sn repeated") << QStringList{plainTable, rows, QStringLiteral("update baby2 set sn = 2 where sn = 7")}
                                 << false;
    QTest::newRow("a column of another program's")
        << QStringList{plainTable, rows, QStringLiteral("alter table baby2 add column note text")} << false;
}

void SchemaTest::startUpStep()
{
    QFETCH(QStringList, table);
    QFETCH(bool, rebuilt);

    createFolder(ProgramFolder::card(3, 8));
    remake(*m_folder, table);
    m_folder->exec(QStringLiteral("create table tesselle_meta (key text primary key, value)"));
    m_folder->exec(QStringLiteral("insert into tesselle_meta values ('card_version', 2)"));
    m_folder->exec(QStringLiteral("pragma user_version = 1"));
    const QStringList before = entries(*m_folder);
    const QVariantList extras = m_folder->column(QStringLiteral(
        "select name from sqlite_master where tbl_name = 'baby2' and name <> 'baby2_code' and sql is not null "
        "and type <> 'table' order by name"));
    const QString sqlBefore = tableSql(*m_folder);

    const DatabaseSetup::Outcome outcome =
        DatabaseSetup::migrate(m_folder->databasePath(), 2, [] { return QVector<CardRow>(); });
    QCOMPARE(int(outcome.kind), int(DatabaseSetup::Outcome::Updated));
    QCOMPARE(entries(*m_folder), before);
    QCOMPARE(m_folder->column(QStringLiteral("pragma user_version")).value(0).toInt(), 2);
    QCOMPARE(m_folder->column(QStringLiteral("pragma integrity_check")).value(0).toString(), QStringLiteral("ok"));
    // Its own rules and indexes stay with the table.
    QCOMPARE(m_folder->column(QStringLiteral(
                 "select name from sqlite_master where tbl_name = 'baby2' and name <> 'baby2_code' and sql is not null "
                 "and type <> 'table' order by name")),
             extras);
    if (!rebuilt) {
        QCOMPARE(tableSql(*m_folder), sqlBefore);
    } else {
        QVERIFY2(tableSql(*m_folder).contains(QLatin1String("autoincrement"), Qt::CaseInsensitive),
                 qPrintable(tableSql(*m_folder)));
        QCOMPARE(m_folder->column(QStringLiteral("select count(*) from sqlite_master where name = 'baby2_code'"))
                     .value(0)
                     .toInt(),
                 1);
        // The last serial number is never handed out again.
        m_folder->exec(QStringLiteral("delete from baby2 where sn = 40"));
        m_folder->exec(QStringLiteral("insert into baby2 (ccard_name, code) values ('5327', 'T0.03.01')"));
        QCOMPARE(m_folder->column(QStringLiteral("select sn from baby2 where code = 'T0.03.01'")).value(0).toInt(), 41);
    }

    // Up to date now: the next start changes nothing.
    QCOMPARE(int(DatabaseSetup::migrate(m_folder->databasePath(), 2, [] { return QVector<CardRow>(); }).kind),
             int(DatabaseSetup::Outcome::UpToDate));
}

void SchemaTest::killDuringStartUpStep()
{
    // The real program, started from a folder with an earlier version's
    // database beside it and killed at random moments of its start: each
    // time the collection is whole, in the old table or in the new.
    constexpr int entryCount = 150000;
    QRandomGenerator random(20261211);
    int oldTables = 0;
    int newTables = 0;
    int interrupted = 0;  // kills in the middle of the transaction
    for (int i = 0; i < 20; ++i) {
        ProgramFolder folder;
        folder.createDatabase(ProgramFolder::card(3, 8));
        remake(folder, {rowidTable, QStringLiteral("create index baby2_code on baby2 (code)")});
        folder.exec(QStringLiteral("create table tesselle_meta (key text primary key, value)"));
        folder.exec(QStringLiteral("insert into tesselle_meta values ('card_version', 2)"));
        folder.exec(QStringLiteral("pragma user_version = 1"));
        folder.exec(QStringLiteral(
                        "insert into baby2 (sn, ccard_name, code) "
                        "with recursive n(i) as (select 1 union all select i + 1 from n where i < %1) "
                        "select i * 3, '5327', 'K' || i from n")
                        .arg(entryCount));
        const QVariantList before = folder.column(QStringLiteral(
            "select count(*) || '|' || sum(sn) || '|' || sum(length(code)) || '|' || max(code) from baby2"));
        QProcess process;
        ProgramRun::start(process, folder, {}, {ProgramRun::Display::Offscreen});
        QVERIFY(process.waitForStarted());
        QTest::qSleep(int(random.bounded(800)));
        process.kill();
        process.waitForFinished();
        // A journal left behind: the kill came in the middle of the step,
        // which the next connection rolls back.
        interrupted += QFile::exists(folder.databasePath() + QStringLiteral("-journal")) ? 1 : 0;

        QCOMPARE(folder.column(QStringLiteral("pragma integrity_check")).value(0).toString(), QStringLiteral("ok"));
        QCOMPARE(folder.column(QStringLiteral(
                     "select count(*) || '|' || sum(sn) || '|' || sum(length(code)) || '|' || max(code) from baby2")),
                 before);
        const bool rebuilt = tableSql(folder).contains(QLatin1String("autoincrement"), Qt::CaseInsensitive);
        (rebuilt ? newTables : oldTables)++;
        QCOMPARE(folder.column(QStringLiteral("pragma user_version")).value(0).toInt(), rebuilt ? 2 : 1);
        QCOMPARE(folder.column(QStringLiteral("select count(*) from sqlite_master where name = 'baby2_code'"))
                     .value(0)
                     .toInt(),
                 1);
    }
    qInfo("%d kills left the old collection table (%d of them in the middle of the step), %d the new one",
          oldTables, interrupted, newTables);
}

QTEST_MAIN(SchemaTest)
#include "test_reliability_schema.moc"
