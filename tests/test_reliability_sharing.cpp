// Two programs over one collection: this test's own window and the
// collection driver serving in a process of its own. A delete removes the
// entry its window shows and nothing else; counts follow what the other
// program committed.
#include "FailureRecorder.h"
#include "ProgramFolder.h"
#include "ServingDriver.h"
#include "TestWindow.h"

#include "collection/CollectionPanel.h"
#include "widgets/MovieControl.h"
#include "widgets/Swatch.h"
#include "widgets/TextBox.h"

#include <QLabel>
#include <QTest>

#include <memory>

namespace {

const QString card = QStringLiteral("5327");
const QString removedElsewhere = QStringLiteral("That entry was already removed by another program.");

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

QTEST_MAIN(SharingTest)
#include "test_reliability_sharing.moc"
