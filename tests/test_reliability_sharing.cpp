// SPDX-License-Identifier: MIT
// Two programs over one collection: this test's own window and the
// collection driver serving in a process of its own. A delete removes the
// entry its window shows and nothing else; counts follow what the other
// program committed; a file held by a third program makes an action wait
// once, visibly, and give up; a file deleted or replaced under the program
// takes no change.
#include "FailureRecorder.h"
#include "ProgramFolder.h"
#include "ServingDriver.h"
#include "TestWindow.h"
#include "WindowDriver.h"

#include "card/CardPanel.h"
#include "collection/CollectionPanel.h"
#include "widgets/MovieControl.h"
#include "widgets/Swatch.h"
#include "widgets/TextBox.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include <cstdio>
#include <memory>

namespace {

const QString card = QStringLiteral("5327");
const QString removedElsewhere = QStringLiteral("That entry was already removed by another program.");
const QString inUse = QStringLiteral("The collection is in use by another program; try again.");
const QString waiting = QStringLiteral("Waiting for another program using the collection…");

QString code(int page, int row)
{
    return ProgramFolder::codeFor(page, row);
}

QVector<QPair<QString, QString>> entriesOf(const QStringList &codes)
{
    QVector<QPair<QString, QString>> rows;
    for (const QString &c : codes)
        rows.append({card, c});
    return rows;
}

// A third program holding a lock on the file: the sqlite3 tool inside a
// transaction begun with "begin <kind>".
class LockHolder
{
public:
    LockHolder(const QString &path, const QString &kind)
    {
        const QString tool = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
        m_process.start(tool, {path});
        m_process.waitForStarted();
        m_process.write(QStringLiteral("begin %1;\nselect 'locked';\n").arg(kind).toUtf8());
        m_locked = readLine() == QLatin1String("locked");
    }
    ~LockHolder() { release(); }

    bool isLocked() const { return m_locked; }
    void release()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.write("commit;\n.quit\n");
        m_process.closeWriteChannel();
        m_process.waitForFinished(10000);
    }

private:
    QString readLine()
    {
        while (!m_process.canReadLine() && m_process.waitForReadyRead(10000)) {
        }
        return QString::fromUtf8(m_process.readLine()).trimmed();
    }

    QProcess m_process;
    bool m_locked = false;
};

} // namespace

class SharingTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void deleteRemovesOnlyTheEntryShown_data();
    void deleteRemovesOnlyTheEntryShown();
    void countsFollowTheOtherProgram_data();
    void countsFollowTheOtherProgram();
    void lockedFileWaitsOnceThenGivesUp_data();
    void lockedFileWaitsOnceThenGivesUp();
    void movedFileTakesNoChange_data();
    void movedFileTakesNoChange();

private:
    // This test's window over the folder: the "other program".
    void openWindow();
    void showEntry(int position);
    void deleteShown();
    void addFromCard(int page, int row);
    QString panelState() const;

    std::unique_ptr<FailureRecorder> m_failures;
    std::unique_ptr<ProgramFolder> m_folder;
    std::unique_ptr<TestWindow> m_form;
};

void SharingTest::init()
{
    m_failures = std::make_unique<FailureRecorder>();
    m_folder = std::make_unique<ProgramFolder>();
    m_folder->createDatabase(ProgramFolder::card(10, 8));
}

void SharingTest::cleanup()
{
    m_form.reset();
    m_folder.reset();
    const QList<DatabaseFailure> failures = m_failures->failures;
    m_failures.reset();
    QVERIFY2(failures.isEmpty(), qPrintable(failures.value(0).text()));
}

void SharingTest::openWindow()
{
    m_form = std::make_unique<TestWindow>(m_folder->path());
    m_form->intro_swf()->hide();
}

void SharingTest::showEntry(int position)
{
    emit m_form->palettac()->FSCommand(QString(), QString());
    m_form->babyColorizer(position);
}

void SharingTest::deleteShown()
{
    emit m_form->deleteb_swf()->FSCommand(QStringLiteral("delete"), QString());
}

void SharingTest::addFromCard(int page, int row)
{
    m_form->pageMove(page);
    m_form->pagecolor_Click(row);
    emit m_form->addtobaby_swf()->FSCommand(QStringLiteral("add"), QString());
}

QString SharingTest::panelState() const
{
    return m_form->baby_num()->text() + m_form->baby_nummax()->text() + QLatin1Char(' ')
        + m_form->baby_code()->text();
}

void SharingTest::deleteRemovesOnlyTheEntryShown_data()
{
    QTest::addColumn<bool>("reusedSerials");  // baby2 as earlier versions made it
    QTest::addColumn<QString>("other");       // what the other program does
    QTest::addColumn<QStringList>("after");   // the collection after the delete
    QTest::addColumn<QString>("shown");       // what the deleting program shows then
    QTest::addColumn<bool>("told");           // whether it says the entry was gone

    // Entries A, B, C; the deleting program shows C, 3/3.
    const QString a = code(1, 1), b = code(1, 2), n = code(2, 1);
    for (bool reused : {false, true}) {
        const char *table = reused ? "sn reused" : "sn never reused";
        QTest::addRow("%s: other deletes C and adds N", table)
            << reused << "delete 3, add" << QStringList{a, b, n} << "3/3 " + n << true;
        QTest::addRow("%s: other deletes C", table) << reused << "delete 3" << QStringList{a, b} << "2/2 " + b << true;
        QTest::addRow("%s: other adds N", table) << reused << "add" << QStringList{a, b, n} << "3/3 " + n << false;
        QTest::addRow("%s: other deletes A", table) << reused << "delete 1" << QStringList{b} << "1/1 " + b << false;
    }
}

void SharingTest::deleteRemovesOnlyTheEntryShown()
{
    QFETCH(bool, reusedSerials);
    QFETCH(QString, other);
    QFETCH(QStringList, after);
    QFETCH(QString, shown);
    QFETCH(bool, told);

    if (reusedSerials) {
        // Without AUTOINCREMENT a new row takes the largest serial number
        // plus one: the number of a last entry deleted just before.
        m_folder->exec(QStringLiteral("drop table baby2"));
        m_folder->exec(QStringLiteral("create table baby2 (sn integer primary key, ccard_name text, code text)"));
    }
    m_folder->addCollectionRows(entriesOf({code(1, 1), code(1, 2), code(1, 3)}));
    ServingDriver deleting(m_folder->path());
    QCOMPARE(ServingDriver::panelOf(deleting.act(QStringLiteral("collection"))), "1/3 " + code(1, 1));
    QCOMPARE(ServingDriver::panelOf(deleting.act(QStringLiteral("show 3"))), "3/3 " + code(1, 3));

    openWindow();
    for (const QString &step : other.split(QStringLiteral(", "))) {
        if (step.startsWith(QLatin1String("delete"))) {
            showEntry(step.section(QLatin1Char(' '), 1).toInt());
            deleteShown();
        } else {
            addFromCard(2, 1);
        }
    }

    const QString state = deleting.act(QStringLiteral("delete"));
    QCOMPARE(m_folder->collectionCodes(), after);
    QCOMPARE(ServingDriver::panelOf(state), shown);
    QCOMPARE(deleting.notices(), told ? QStringList{removedElsewhere} : QStringList());
}

void SharingTest::countsFollowTheOtherProgram_data()
{
    QTest::addColumn<int>("position");      // the entry the first program shows
    QTest::addColumn<QString>("other");     // what the other program does then
    QTest::addColumn<QStringList>("steps"); // "action => panel" in the first program

    const QString e1 = code(1, 1), e2 = code(1, 2), e3 = code(1, 3), e4 = code(1, 4), n = code(2, 1);
    QTest::newRow("other deletes 1, then a delete")
        << 3 << "delete 1"
        << QStringList{"state => 3/4 " + e3, "delete => 2/2 " + e4, "next => 1/2 " + e2, "next => 2/2 " + e4,
                       "previous => 1/2 " + e2};
    QTest::newRow("other deletes 1, then next")
        << 3 << "delete 1" << QStringList{"next => 1/3 " + e2, "previous => 3/3 " + e4};
    QTest::newRow("other deletes 1, then the palette")
        << 3 << "delete 1" << QStringList{"collection => 1/3 " + e2};
    QTest::newRow("other adds, then next from the last")
        << 4 << "add" << QStringList{"state => 4/4 " + e4, "next => 5/5 " + n, "next => 1/5 " + e1};
    QTest::newRow("other adds, then previous from the first")
        << 1 << "add" << QStringList{"previous => 5/5 " + n};
    QTest::newRow("other deletes 1, then an addition of its own")
        << 3 << "delete 1"
        << QStringList{"select 3 1 => 3/4 " + e3, "add => 3/4 " + e3, "collection => 1/4 " + e2,
                       "previous => 4/4 " + code(3, 1)};
    QTest::newRow("other deletes everything, then next")
        << 2 << "delete 1, delete 1, delete 1, delete 1" << QStringList{"next => 0/0 "};
}

void SharingTest::countsFollowTheOtherProgram()
{
    QFETCH(int, position);
    QFETCH(QString, other);
    QFETCH(QStringList, steps);

    m_folder->addCollectionRows(entriesOf({code(1, 1), code(1, 2), code(1, 3), code(1, 4)}));
    ServingDriver first(m_folder->path());
    first.act(QStringLiteral("collection"));
    QCOMPARE(ServingDriver::panelOf(first.act(QStringLiteral("show %1").arg(position))),
             QStringLiteral("%1/4 %2").arg(position).arg(code(1, position)));

    openWindow();
    for (const QString &step : other.split(QStringLiteral(", "))) {
        if (step.startsWith(QLatin1String("delete"))) {
            showEntry(step.section(QLatin1Char(' '), 1).toInt());
            deleteShown();
        } else {
            addFromCard(2, 1);
        }
    }

    for (const QString &step : steps) {
        const QString action = step.section(QStringLiteral(" => "), 0, 0);
        const QString expected = step.section(QStringLiteral(" => "), 1);
        QCOMPARE(ServingDriver::panelOf(first.act(action)) + QStringLiteral(" after ") + action,
                 expected + QStringLiteral(" after ") + action);
        QVERIFY2(first.notices().isEmpty(), qPrintable(first.notices().join(QLatin1Char('\n'))));
    }
}

void SharingTest::lockedFileWaitsOnceThenGivesUp_data()
{
    QTest::addColumn<QString>("lock");
    QTest::addColumn<bool>("readable");  // whether other programs can read meanwhile

    QTest::newRow("exclusive") << "exclusive" << false;
    QTest::newRow("immediate") << "immediate" << true;
}

void SharingTest::lockedFileWaitsOnceThenGivesUp()
{
    QFETCH(QString, lock);
    QFETCH(bool, readable);

    const QString a = code(1, 1), b = code(1, 2);
    m_folder->addCollectionRows(entriesOf({a, b}));
    // Long enough for the wait to be shown after its first second, short
    // enough for a test.
    QProcessEnvironment env;
    env.insert(QStringLiteral("TESSELLE_BUSY_TIMEOUT_MS"), QStringLiteral("1500"));
    ServingDriver program(m_folder->path(), env);
    QCOMPARE(ServingDriver::panelOf(program.act(QStringLiteral("collection"))), "1/2 " + a);

    program.act(QStringLiteral("select 2 3"));
    LockHolder holder(m_folder->databasePath(), lock);
    QVERIFY(holder.isLocked());

    // The addition waits, shows that it waits, gives up and says so.
    QElapsedTimer waited;
    waited.start();
    QString state = program.act(QStringLiteral("add"));
    qInfo("the addition gave up after %lld ms, with a busy timeout of 1500 ms", waited.elapsed());
    QVERIFY2(!state.startsWith(QLatin1String("<no answer>")), qPrintable(state));
    QCOMPARE(ServingDriver::panelOf(state), "1/2 " + a);
    QVERIFY2(state.endsWith(QLatin1String("cursor=normal")), qPrintable(state));
    QVERIFY(program.sawWaitCursor());
    QCOMPARE(program.shown().value(0), waiting);
    QVERIFY2(program.shown().contains(inUse) || program.notices().contains(inUse),
             qPrintable(program.shown().join(QLatin1Char('\n'))));
    QCOMPARE(program.notices(), QStringList{inUse});

    // Browsing goes on: where the file can be read, as usual; where it
    // cannot, the window keeps what it shows and says why.
    state = program.act(QStringLiteral("next"));
    QCOMPARE(ServingDriver::panelOf(state), readable ? "2/2 " + b : "1/2 " + a);
    QCOMPARE(program.notices(), readable ? QStringList() : QStringList{inUse});
    state = program.act(QStringLiteral("page 4"));
    QVERIFY2(state.contains(readable ? "page=4 swatches=8" : "swatches=8"), qPrintable(state));
    QVERIFY2(state.endsWith(QLatin1String("cursor=normal")), qPrintable(state));

    holder.release();
    // Nothing was claimed or half made.
    QCOMPARE(m_folder->collectionCodes(), (QStringList{a, b}));
    QCOMPARE(m_folder->column(QStringLiteral("pragma integrity_check")).value(0).toString(), QStringLiteral("ok"));

    // Once the other program is done, the same program adds and steps.
    program.act(QStringLiteral("select 2 3"));
    state = program.act(QStringLiteral("add"));
    QVERIFY(program.notices().isEmpty());
    QCOMPARE(m_folder->collectionCodes(), (QStringList{a, b, code(2, 3)}));
    QCOMPARE(ServingDriver::panelOf(program.act(QStringLiteral("collection"))), "1/3 " + a);
    QCOMPARE(ServingDriver::panelOf(program.act(QStringLiteral("previous"))), "3/3 " + code(2, 3));
}

void SharingTest::movedFileTakesNoChange_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("wal");  // the file in write-ahead-log mode, as another tool may leave it

    for (bool wal : {false, true}) {
        const char *mode = wal ? ", write-ahead log" : "";
        QTest::addRow("deleted%s", mode) << "deleted" << wal;
        QTest::addRow("moved away%s", mode) << "moved away" << wal;
        QTest::addRow("renamed over%s", mode) << "renamed over" << wal;
        QTest::addRow("written anew%s", mode) << "written anew" << wal;
    }
}

void SharingTest::movedFileTakesNoChange()
{
    QFETCH(QString, how);
    QFETCH(bool, wal);

    const QString a = code(1, 1), b = code(1, 2);
    m_folder->addCollectionRows(entriesOf({a, b}));
    // In this mode the engine itself lets a deleted or replaced file be
    // written on.
    if (wal)
        m_folder->exec(QStringLiteral("pragma journal_mode = wal"));
    const QString path = m_folder->databasePath();
    const QString copy = QDir(m_folder->path()).filePath(QStringLiteral("copy.db"));
    QVERIFY(QFile::copy(path, copy));
    openWindow();
    QSignalSpy notices(m_form->collectionPanel(), &CollectionPanel::notice);
    showEntry(1);
    QCOMPARE(panelState(), "1/2 " + a);

    // Another program deletes or replaces the file the window opened.
    if (how == QLatin1String("deleted")) {
        QVERIFY(QFile::remove(path));
    } else if (how == QLatin1String("moved away")) {
        QVERIFY(QFile::rename(path, path + QStringLiteral(".old")));
    } else if (how == QLatin1String("renamed over")) {
        QVERIFY(std::rename(QFile::encodeName(copy).constData(), QFile::encodeName(path).constData()) == 0);
    } else {
        QFile original(copy);
        QVERIFY(original.open(QIODevice::ReadOnly));
        const QByteArray bytes = original.readAll();
        QVERIFY(QFile::remove(path));
        QFile anew(path);
        QVERIFY(anew.open(QIODevice::WriteOnly));
        QCOMPARE(anew.write(bytes), qint64(bytes.size()));
    }

    const QString refused =
        QStringLiteral("The collection cannot be changed: %1 was deleted or replaced by another program.").arg(path);
    addFromCard(2, 1);
    QCOMPARE(notices.size(), 1);
    QCOMPARE(notices.takeFirst().at(0).toString(), refused);
    showEntry(2);
    QCOMPARE(panelState(), "2/2 " + b);
    deleteShown();
    QCOMPARE(notices.size(), 1);
    QCOMPARE(notices.takeFirst().at(0).toString(), refused);

    // Browsing goes on, and no change counts as done.
    emit m_form->nextb_swf()->FSCommand(QString(), QString());
    QCOMPARE(panelState(), "1/2 " + a);
    m_form->pageMove(3);
    QCOMPARE(m_form->cardPanel()->swatchCount(), 8);
    if (QFile::exists(path))
        QCOMPARE(m_folder->collectionCodes(), (QStringList{a, b}));
}

QTEST_MAIN(SharingTest)
#include "test_reliability_sharing.moc"
