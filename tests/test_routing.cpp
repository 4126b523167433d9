// SPDX-License-Identifier: MIT
// Movie commands: each movie control's command event reaches its own
// handler and no other, the intro reads its command as a number, and the
// palette's sectors and tabs raise their commands when clicked.
#include "WindowFixture.h"
#include "FailureRecorder.h"
#include "ProgramFolder.h"
#include "WindowDriver.h"

#include "TestWindow.h"
#include "widgets/PictureBox.h"
#include "widgets/TextBox.h"
#include "movie/CommandText.h"
#include "widgets/MovieControl.h"

#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <memory>

namespace {

// What the handlers can change, seen from outside.
struct State
{
    QString page;         // the page-number box
    QString entryCode;    // the collection entry shown
    QStringList codes;    // the collection as stored
    bool introShown;
    bool collectionShown;

    bool operator==(const State &o) const
    {
        return page == o.page && entryCode == o.entryCode && codes == o.codes
               && introShown == o.introShown && collectionShown == o.collectionShown;
    }
};

QString describe(const State &s)
{
    return QStringLiteral("page %1, entry %2, codes [%3], intro %4, %5 panel")
        .arg(s.page, s.entryCode, s.codes.join(QLatin1Char(' ')),
             s.introShown ? QStringLiteral("shown") : QStringLiteral("hidden"),
             s.collectionShown ? QStringLiteral("collection") : QStringLiteral("card"));
}

QString code(int page, int row)
{
    return ProgramFolder::codeFor(page, row);
}

} // namespace

class RoutingTest : public WindowFixture
{
    Q_OBJECT

private slots:
    void init();

    void introReadsCommandAsNumber_data();
    void introReadsCommandAsNumber();
    void introStaysHidden();
    void eachControlReachesItsOwnHandler_data();
    void eachControlReachesItsOwnHandler();
    void deleteOnEmptyCollectionDoesNothing();
    void paletteSectorClickRaisesItsNumber_data();
    void paletteSectorClickRaisesItsNumber();
    void paletteTabsAndHub_data();
    void paletteTabsAndHub();
    void introDismissesItself();

private:
    State state() const;

};

void RoutingTest::init()
{
    createFolder(ProgramFolder::card(12, 3));
    QVERIFY(openWindow(false));
}

State RoutingTest::state() const
{
    const TestWindow &f = *m_form;
    return State{f.pagen_text()->text(), f.baby_code()->text(), m_folder->collectionCodes(),
                 !f.intro_swf()->isHidden(), !f.tart_pb(1)->isHidden()};
}

void RoutingTest::introReadsCommandAsNumber_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("argument");
    QTest::addColumn<bool>("hides");

    // clang-format off
    QTest::newRow("1")               << "1"    << ""     << true;
    QTest::newRow("leading zero")    << "01"   << ""     << true;
    QTest::newRow("leading blank")   << " 1"   << ""     << true;
    QTest::newRow("trailing blank")  << "1 "   << ""     << true;
    QTest::newRow("sign")            << "+1"   << ""     << true;
    QTest::newRow("whole decimal")   << "1.0"  << ""     << true;
    QTest::newRow("exponent")        << "1e0"  << ""     << true;
    QTest::newRow("any argument")    << "1"    << "0"    << true;
    QTest::newRow("0")               << "0"    << ""     << false;
    QTest::newRow("2")               << "2"    << ""     << false;
    QTest::newRow("-1")              << "-1"   << ""     << false;
    QTest::newRow("not whole")       << "1.5"  << ""     << false;
    QTest::newRow("just above 1")    << "1.000001" << "" << false;
    QTest::newRow("empty")           << ""     << ""     << false;
    QTest::newRow("word")            << "one"  << ""     << false;
    QTest::newRow("number and word") << "1 x"  << ""     << false;
    QTest::newRow("not a number")    << "nan"  << ""     << false;
    QTest::newRow("argument 1")      << "0"    << "1"    << false;
    // clang-format on
}

void RoutingTest::introReadsCommandAsNumber()
{
    QFETCH(QString, command);
    QFETCH(QString, argument);
    QFETCH(bool, hides);

    QCOMPARE(CommandText::equalsNumber(command, 1), hides);
    const State before = state();
    emit m_form->intro_swf()->FSCommand(command, argument);
    State expected = before;
    expected.introShown = !hides;
    QCOMPARE(describe(state()), describe(expected));
}

void RoutingTest::introStaysHidden()
{
    TestWindow &f = *m_form;
    emit f.intro_swf()->FSCommand(QStringLiteral("1"), QString());
    QVERIFY(f.intro_swf()->isHidden());
    const State hidden = state();
    for (const char *command : {"0", "2", "", "1", "one"}) {
        emit f.intro_swf()->FSCommand(QString::fromLatin1(command), QString());
        QCOMPARE(describe(state()), describe(hidden));
    }
}

void RoutingTest::eachControlReachesItsOwnHandler_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("entryCode");
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<bool>("introShown");

    // Before each event: page 5 with its second colour selected, the
    // collection panel showing entry 2 of three, the intro still shown.
    const QStringList stored{code(1, 1), code(2, 1), code(3, 1)};
    // clang-format off
    QTest::newRow("intro_swf")     << "intro_swf"     << "1"   << "5"  << code(2, 1) << stored << false;
    QTest::newRow("palettac")      << "palettac"      << "7"   << "10" << code(2, 1) << stored << true;
    QTest::newRow("next_swf")      << "next_swf"      << "x"   << "6"  << code(2, 1) << stored << true;
    QTest::newRow("previous_swf")  << "previous_swf"  << ""    << "4"  << code(2, 1) << stored << true;
    QTest::newRow("nextb_swf")     << "nextb_swf"     << "1"   << "5"  << code(3, 1) << stored << true;
    QTest::newRow("previousb_swf") << "previousb_swf" << "5327" << "5" << code(1, 1) << stored << true;
    QTest::newRow("addtobaby_swf") << "addtobaby_swf" << ""    << "5"  << code(2, 1)
                                   << (QStringList(stored) << code(5, 2)) << true;
    QTest::newRow("deleteb_swf")   << "deleteb_swf"   << "1"   << "5"  << code(3, 1)
                                   << QStringList{code(1, 1), code(3, 1)} << true;
    // clang-format on
}

void RoutingTest::eachControlReachesItsOwnHandler()
{
    QFETCH(QString, control);
    QFETCH(QString, command);
    QFETCH(QString, page);
    QFETCH(QString, entryCode);
    QFETCH(QStringList, codes);
    QFETCH(bool, introShown);

    m_folder->addCollectionRows({{QStringLiteral("5327"), code(1, 1)},
                                 {QStringLiteral("5327"), code(2, 1)},
                                 {QStringLiteral("5327"), code(3, 1)}});
    m_form = std::make_unique<TestWindow>(m_folder->path());
    TestWindow &f = *m_form;
    f.pageMove(5);
    f.pagecolor_Click(2);
    emit f.palettac()->FSCommand(QString(), QString());
    emit f.nextb_swf()->FSCommand(QString(), QString());
    QCOMPARE(f.color_a(), code(5, 2));
    const State before = state();
    QCOMPARE(before.entryCode, code(2, 1));
    QCOMPARE(before.page, QStringLiteral("5"));

    auto *movie = qobject_cast<MovieControl *>(f.control(control));
    QVERIFY(movie);
    emit movie->FSCommand(command, QStringLiteral("argument"));

    const State expected{page, entryCode, codes, introShown, true};
    QCOMPARE(describe(state()), describe(expected));
}

void RoutingTest::deleteOnEmptyCollectionDoesNothing()
{
    FailureRecorder failures;
    TestWindow &f = *m_form;
    QVERIFY(WindowDriver::showReady(f));
    emit f.palettac()->FSCommand(QString(), QString());
    QVERIFY(f.tart_pb(1)->isVisible());
    const State before = state();
    emit f.deleteb_swf()->FSCommand(QString(), QString());
    emit f.deleteb_swf()->FSCommand(QStringLiteral("1"), QString());
    QCOMPARE(describe(state()), describe(before));
    QCOMPARE(f.baby_num()->text(), QStringLiteral("0"));
    QVERIFY(failures.failures.isEmpty());
}

void RoutingTest::paletteSectorClickRaisesItsNumber_data()
{
    QTest::addColumn<int>("sector");
    for (int k = 1; k <= 24; ++k)
        QTest::newRow(qPrintable(QStringLiteral("sector %1").arg(k))) << k;
}

void RoutingTest::paletteSectorClickRaisesItsNumber()
{
    QFETCH(int, sector);
    FailureRecorder failures;
    TestWindow &f = *m_form;
    QVERIFY(WindowDriver::showReady(f));
    QSignalSpy spy(f.palettac(), &MovieControl::FSCommand);

    // The middle of the sector, halfway out on the wheel; sector 1 starts
    // at the top and the numbers run clockwise.
    const double theta = (sector - 0.5) * 15.0 * M_PI / 180.0;
    const QPoint at(qRound(76 + 41 * std::sin(theta)), qRound(90 - 41 * std::cos(theta)));
    WindowDriver::clickThroughWindow(f.palettac(), at);

    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.first().at(0).toString(), QString::number(sector));
}

void RoutingTest::paletteTabsAndHub_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<int>("raised");
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("collectionShown");

    QTest::newRow("card tab") << QPoint(38, 11) << 1 << "5327" << false;
    QTest::newRow("collection tab") << QPoint(114, 11) << 1 << "" << true;
    QTest::newRow("hub") << QPoint(76, 90) << 0 << "" << false;
}

void RoutingTest::paletteTabsAndHub()
{
    QFETCH(QPoint, at);
    QFETCH(int, raised);
    QFETCH(QString, command);
    QFETCH(bool, collectionShown);

    TestWindow &f = *m_form;
    QVERIFY(WindowDriver::showReady(f));
    QSignalSpy spy(f.palettac(), &MovieControl::FSCommand);
    WindowDriver::clickThroughWindow(f.palettac(), at);
    QCOMPARE(spy.count(), raised);
    if (raised)
        QCOMPARE(spy.first().at(0).toString(), command);
    QCOMPARE(!f.tart_pb(1)->isHidden(), collectionShown);
    QCOMPARE(f.tart_pb(0)->isHidden(), collectionShown);
}

void RoutingTest::introDismissesItself()
{
    // The real intro movie, loaded with Play off, still raises its timed
    // command 1 by itself, and the window hides the intro on it.
    TestWindow &f = *m_form;
    QVERIFY(!f.intro_swf()->play());
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QSignalSpy spy(f.intro_swf(), &MovieControl::FSCommand);
    QVERIFY(!f.intro_swf()->isHidden());
    QVERIFY(spy.wait(6000));
    QCOMPARE(spy.first().at(0).toString(), QStringLiteral("1"));
    QVERIFY(f.intro_swf()->isHidden());
}

QTEST_MAIN(RoutingTest)
#include "test_routing.moc"
