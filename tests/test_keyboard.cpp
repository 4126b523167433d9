// SPDX-License-Identifier: MIT
// Every action by keyboard: the keys that act outside the page box and the
// code fields, the focus cue, and the intro dismissed by a key; keys sent
// as the X11 platform delivers them, the database read after each step.
#include "WindowDriver.h"
#include "WindowFixture.h"

#include "card/CardPanel.h"
#include "widgets/MovieControl.h"
#include "widgets/PictureBox.h"
#include "widgets/Swatch.h"
#include "widgets/TextBox.h"

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QTest>

#include <algorithm>
#include <cmath>

namespace {

// Tab until widget has the focus; false if it never comes.
bool tabTo(QWidget *widget)
{
    for (int i = 0; i < 40 && WindowDriver::focus() != widget; ++i)
        WindowDriver::key(Qt::Key_Tab);
    return WindowDriver::focus() == widget;
}

QImage grabbed(QWidget *widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class KeyboardTest : public WindowFixture
{
    Q_OBJECT

private slots:
    void init();
    void keyboardOnlyScenario();
    void introGoneByItselfLeavesEveryKey();
    void keysOfTheCardPanel_data();
    void keysOfTheCardPanel();
    void buttonsAndPaletteByKey();
    void keysInsideTheBoxesKeepTheirRules();
    void windowKeysActFromTheBoxes();
    void keyFromElsewhereDoesNotHandOn();
    void focusCueOnlyFromTheKeyboard();
    void focusCueStandsOut_data();
    void focusCueStandsOut();
    void noCueAfterAClick();

private:
    QWidget *column() const { return m_form->cardPanel()->swatchColumn(); }
};

void KeyboardTest::init()
{
    createFolder(ProgramFolder::card(30, 4));
    QVERIFY(openWindow(false));
    m_form->show();
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
}

void KeyboardTest::keyboardOnlyScenario()
{
    // A key dismisses the intro and reaches nothing beneath.
    QVERIFY(m_form->intro_swf()->isVisible());
    WindowDriver::type(QStringLiteral("x"));
    QVERIFY(m_form->intro_swf()->isHidden());
    QCOMPARE(m_form->findcode_txt1()->text(), QString());
    QCOMPARE(m_form->pagen_text()->text(), QStringLiteral("1"));

    // Find a code.
    QVERIFY(tabTo(m_form->findcode_txt1()));
    WindowDriver::type(ProgramFolder::codeFor(7, 3).remove(QLatin1Char('.')));
    WindowDriver::key(Qt::Key_Return);
    QCOMPARE(m_form->pagen_text()->text(), QStringLiteral("7"));

    // Tab to the swatch column, frame the next swatch, add it.
    QVERIFY(tabTo(column()));
    WindowDriver::key(Qt::Key_Down);
    QCOMPARE(m_form->color_a(), ProgramFolder::codeFor(7, 4));
    // A, the add key no screen reader takes.
    WindowDriver::key(Qt::Key_A);
    QCOMPARE(m_folder->collectionCodes(), QStringList{ProgramFolder::codeFor(7, 4)});
    WindowDriver::key(Qt::Key_Up);
    WindowDriver::key(Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(m_folder->collectionCodes(), QStringList({ProgramFolder::codeFor(7, 4), ProgramFolder::codeFor(7, 3)}));

    // The collection, its next entry, and delete it.
    WindowDriver::key(Qt::Key_2, Qt::ControlModifier);
    QVERIFY(m_form->tart_pb(1)->isVisible());
    QCOMPARE(WindowDriver::focus(), m_form->tart_pb(1));
    QCOMPARE(m_form->baby_num()->text(), QStringLiteral("1"));
    WindowDriver::key(Qt::Key_Right);
    QCOMPARE(m_form->baby_num()->text(), QStringLiteral("2"));
    QCOMPARE(m_form->baby_code()->text(), ProgramFolder::codeFor(7, 3));
    WindowDriver::key(Qt::Key_Left);
    QCOMPARE(m_form->baby_num()->text(), QStringLiteral("1"));
    const QVariantList serials = m_folder->column(QStringLiteral("select sn from baby2 order by sn"));
    WindowDriver::key(Qt::Key_Delete);
    QCOMPARE(m_folder->collectionCodes(), QStringList{ProgramFolder::codeFor(7, 3)});

    // Undo puts it back at its place, with its own sn; redo deletes it again.
    WindowDriver::key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(m_folder->column(QStringLiteral("select sn from baby2 order by sn")), serials);
    QCOMPARE(m_folder->collectionCodes(), QStringList({ProgramFolder::codeFor(7, 4), ProgramFolder::codeFor(7, 3)}));
    QCOMPARE(m_form->baby_code()->text(), ProgramFolder::codeFor(7, 4));
    QCOMPARE(m_form->findChild<QLabel *>(QStringLiteral("notice"))->text(),
             QStringLiteral("Restored %1").arg(ProgramFolder::codeFor(7, 4)));
    WindowDriver::key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(m_folder->collectionCodes(), QStringList{ProgramFolder::codeFor(7, 3)});
    WindowDriver::key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(m_folder->collectionCodes(), QStringList({ProgramFolder::codeFor(7, 4), ProgramFolder::codeFor(7, 3)}));
    // Nothing more to undo: a second Ctrl+Z changes nothing.
    WindowDriver::key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(m_folder->collectionCodes(), QStringList({ProgramFolder::codeFor(7, 4), ProgramFolder::codeFor(7, 3)}));

    // A colour collected again since its delete is not restored twice.
    WindowDriver::key(Qt::Key_Delete);
    m_folder->addCollectionRows({{"5327", ProgramFolder::codeFor(7, 4)}});
    WindowDriver::key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(m_folder->collectionCodes(), QStringList({ProgramFolder::codeFor(7, 3), ProgramFolder::codeFor(7, 4)}));
    QCOMPARE(m_form->findChild<QLabel *>(QStringLiteral("notice"))->text(),
             QStringLiteral("%1 is not restored: it is in the collection again.").arg(ProgramFolder::codeFor(7, 4)));

    // And back to the card.
    WindowDriver::key(Qt::Key_1, Qt::ControlModifier);
    QVERIFY(m_form->tart_pb(0)->isVisible());
    QCOMPARE(WindowDriver::focus(), m_form->tart_pb(0));
}

void KeyboardTest::introGoneByItselfLeavesEveryKey()
{
    // The intro dismisses itself: from then on keys are the window's, the
    // very first one included.
    QVERIFY(m_form->intro_swf()->isVisible());
    emit m_form->intro_swf()->FSCommand(QStringLiteral("1"), QString());
    QVERIFY(m_form->intro_swf()->isHidden());
    QVERIFY(tabTo(m_form->findcode_txt1()));
    WindowDriver::type(QStringLiteral("k8"));
    QCOMPARE(m_form->findcode_txt1()->text(), QStringLiteral("K8"));
    QCOMPARE(WindowDriver::focus(), m_form->findcode_txt2());
}

void KeyboardTest::keysOfTheCardPanel_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("page");     // after the key, from page 5
    QTest::addColumn<int>("framed");       // swatch framed after it; 0: none

    QTest::newRow("PageDown") << int(Qt::Key_PageDown) << "6" << 0;
    QTest::newRow("PageUp") << int(Qt::Key_PageUp) << "4" << 0;
    QTest::newRow("Home") << int(Qt::Key_Home) << "1" << 0;
    QTest::newRow("End") << int(Qt::Key_End) << "30" << 0;
    QTest::newRow("Down with none framed") << int(Qt::Key_Down) << "5" << 1;
    QTest::newRow("Up with none framed") << int(Qt::Key_Up) << "5" << 0;
}

void KeyboardTest::keysOfTheCardPanel()
{
    QFETCH(int, key);
    QFETCH(QString, page);
    QFETCH(int, framed);
    QVERIFY(WindowDriver::showReady(*m_form));
    m_form->pageMove(5);
    QVERIFY(tabTo(column()));
    WindowDriver::key(key);
    QCOMPARE(m_form->pagen_text()->text(), page);
    QCOMPARE(m_form->color_a(), framed ? ProgramFolder::codeFor(page.toInt(), framed) : QString());
    QCOMPARE(m_form->pageselect()->isVisible(), framed != 0);
    // The same keys on the panel itself.
    m_form->pageMove(5);
    QVERIFY(tabTo(m_form->tart_pb(0)));
    WindowDriver::key(key);
    QCOMPARE(m_form->pagen_text()->text(), page);
}

void KeyboardTest::buttonsAndPaletteByKey()
{
    QVERIFY(WindowDriver::showReady(*m_form));
    // Space and Enter on a button raise its command, as a click does.
    QVERIFY(tabTo(m_form->next_swf()));
    WindowDriver::key(Qt::Key_Space);
    QCOMPARE(m_form->pagen_text()->text(), QStringLiteral("2"));
    WindowDriver::key(Qt::Key_Return);
    QCOMPARE(m_form->pagen_text()->text(), QStringLiteral("3"));
    QVERIFY(tabTo(m_form->previous_swf()));
    WindowDriver::key(Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(m_form->pagen_text()->text(), QStringLiteral("2"));

    // Round the wheel: from sector 1, two steps on, one back: sector 2.
    QVERIFY(tabTo(m_form->palettac()));
    QCOMPARE(m_form->palettac()->highlighted(), QStringLiteral("sector1"));
    WindowDriver::key(Qt::Key_Right);
    WindowDriver::key(Qt::Key_Down);
    WindowDriver::key(Qt::Key_Left);
    QCOMPARE(m_form->palettac()->highlighted(), QStringLiteral("sector2"));
    WindowDriver::key(Qt::Key_Up);
    WindowDriver::key(Qt::Key_Up);
    QCOMPARE(m_form->palettac()->highlighted(), QStringLiteral("sector24"));
    // Sector 24 opens page 115, past this card's 30 pages: an empty column.
    WindowDriver::key(Qt::Key_Return);
    QCOMPARE(m_form->pagen_text()->text(), QStringLiteral("115"));
}

void KeyboardTest::keysInsideTheBoxesKeepTheirRules()
{
    QVERIFY(WindowDriver::showReady(*m_form));
    m_form->pagen_text()->setFocus();
    QTRY_COMPARE(WindowDriver::focus(), m_form->pagen_text());
    WindowDriver::key(Qt::Key_End);
    WindowDriver::type(QStringLiteral("2"));
    WindowDriver::key(Qt::Key_Home);
    WindowDriver::key(Qt::Key_Delete);
    WindowDriver::key(Qt::Key_PageDown);
    QCOMPARE(m_form->pagen_text()->text(), QStringLiteral("2"));  // "12", Home, Delete
    QVERIFY(m_form->tart_pb(0)->isVisible());
    WindowDriver::key(Qt::Key_Return);
    QCOMPARE(m_form->cardPanel()->pageShown(), 2);
}

// Ctrl+1, Ctrl+2 and Ctrl+F act from a text box too, typing nothing in it;
// the code fields' key rules run for them as for any key.
void KeyboardTest::windowKeysActFromTheBoxes()
{
    QVERIFY(WindowDriver::showReady(*m_form));
    m_form->pagen_text()->setFocus();
    QTRY_COMPARE(WindowDriver::focus(), m_form->pagen_text());
    WindowDriver::key(Qt::Key_2, Qt::ControlModifier);
    QVERIFY(m_form->tart_pb(1)->isVisible());
    QCOMPARE(m_form->pagen_text()->text(), QStringLiteral("1"));
    WindowDriver::key(Qt::Key_1, Qt::ControlModifier);
    QVERIFY(m_form->tart_pb(0)->isVisible());

    // A found code: the next key empties the fields (rule 1), Ctrl+2
    // included, and types nothing.
    m_form->findcode_txt1()->setFocus();
    QTRY_COMPARE(WindowDriver::focus(), m_form->findcode_txt1());
    const QString code = m_form->cardPanel()->swatch(3)->toolTip();
    WindowDriver::type(QString(code).remove(QLatin1Char('.')));
    WindowDriver::key(Qt::Key_Return);
    QCOMPARE(m_form->cardPanel()->icode_char(), 0);
    QTRY_COMPARE(WindowDriver::focus(), m_form->findcode_txt1());
    WindowDriver::key(Qt::Key_2, Qt::ControlModifier);
    QVERIFY(m_form->tart_pb(1)->isVisible());
    QCOMPARE(m_form->findcode_txt1()->text(), QString());
    QCOMPARE(m_form->cardPanel()->icode_char(), 1);

    WindowDriver::key(Qt::Key_1, Qt::ControlModifier);
    m_form->findcode_txt2()->setFocus();
    QTRY_COMPARE(WindowDriver::focus(), m_form->findcode_txt2());
    WindowDriver::key(Qt::Key_F, Qt::ControlModifier);
    QTRY_VERIFY(m_form->findChild<QDialog *>() && m_form->findChild<QDialog *>()->isVisible());
    QCOMPARE(m_form->findcode_txt2()->text(), QString());
}

// The scrambled code: a Tab that moves the focus into a full first code
// field does not hand it on at its release, and the code typed next lands
// in its fields in order.
void KeyboardTest::keyFromElsewhereDoesNotHandOn()
{
    QVERIFY(WindowDriver::showReady(*m_form));
    const QString framed = m_form->cardPanel()->swatch(2)->toolTip();
    QWidget *column = m_form->cardPanel()->swatchColumn();
    column->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(WindowDriver::focus(), column);
    WindowDriver::key(Qt::Key_Down);
    WindowDriver::key(Qt::Key_Down);
    QCOMPARE(m_form->findcode_txt1()->text(), framed.left(2));
    WindowDriver::key(Qt::Key_Backtab, Qt::ShiftModifier);
    QTRY_COMPARE(WindowDriver::focus(), m_form->findcode_txt1());
    const QString wanted = m_form->cardPanel()->swatch(4)->toolTip();
    WindowDriver::type(QString(wanted).remove(QLatin1Char('.')));
    QCOMPARE(m_form->findcode_txt1()->text() + '.' + m_form->findcode_txt2()->text() + '.'
                 + m_form->findcode_txt3()->text(),
             wanted);
    WindowDriver::key(Qt::Key_Return);
    QCOMPARE(m_form->cardPanel()->color_a(), wanted);
}

void KeyboardTest::focusCueOnlyFromTheKeyboard()
{
    QVERIFY(WindowDriver::showReady(*m_form));
    // At start the card panel has the keyboard, without a cue; the same
    // panel reached by Tab shows one.
    QCOMPARE(WindowDriver::focus(), m_form->tart_pb(0));
    const QImage atStart = grabbed(m_form->tart_pb(0));
    const QImage button = grabbed(m_form->next_swf());
    QVERIFY(tabTo(m_form->next_swf()));
    QVERIFY(grabbed(m_form->next_swf()) != button);
    QVERIFY(tabTo(m_form->tart_pb(0)));
    QCOMPARE(grabbed(m_form->next_swf()), button);
    QVERIFY(grabbed(m_form->tart_pb(0)) != atStart);

    // A click moves no focus and draws no cue.
    WindowDriver::clickThroughWindow(m_form->previous_swf(), m_form->previous_swf()->rect().center());
    QCOMPARE(WindowDriver::focus(), m_form->tart_pb(0));

    // The column's cue follows the framed swatch.
    QVERIFY(tabTo(column()));
    const QImage unframed = grabbed(m_form->tart_pb(0));
    WindowDriver::key(Qt::Key_Down);
    WindowDriver::key(Qt::Key_Down);
    const QImage second = grabbed(m_form->tart_pb(0));
    m_form->pagecolor_Click(2);  // as a click frames it: the same picture
    QCOMPARE(grabbed(m_form->tart_pb(0)), second);
    QVERIFY(second != unframed);
}

namespace {

double luminance(QRgb rgb)
{
    auto channel = [](int v) {
        const double c = v / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb)) + 0.0722 * channel(qBlue(rgb));
}

double contrast(QRgb a, QRgb b)
{
    const double la = luminance(a) + 0.05;
    const double lb = luminance(b) + 0.05;
    return la > lb ? la / lb : lb / la;
}

} // namespace

// On every Tab stop but the text boxes (which show their caret), on a light
// page and a dark one, the cue stands out from what it covers: across its
// width, at every point round it, some pixel changed by at least 3:1 from
// the same window without the cue.
void KeyboardTest::focusCueStandsOut_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<bool>("framed");
    QTest::newRow("light page") << 1 << false;
    QTest::newRow("light page, a swatch framed") << 1 << true;
    QTest::newRow("dark page") << 30 << false;
    QTest::newRow("dark page, a swatch framed") << 30 << true;
}

void KeyboardTest::focusCueStandsOut()
{
    QFETCH(int, page);
    QFETCH(bool, framed);
    QVERIFY(WindowDriver::showReady(*m_form));
    m_form->cardPanel()->pageMove(page);
    if (framed)
        m_form->pagecolor_Click(2);
    QWidget *first = WindowDriver::focus();
    QList<QWidget *> stops;
    for (int i = 0; i < 40; ++i) {
        WindowDriver::key(Qt::Key_Tab);
        QWidget *stop = WindowDriver::focus();
        if (stop == first || stops.contains(stop))
            break;
        stops.append(stop);
    }
    QVERIFY(stops.size() >= 5);
    for (QWidget *stop : std::as_const(stops)) {
        if (qobject_cast<TextBox *>(stop))
            continue;
        stop->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(WindowDriver::focus(), stop);
        const QImage cue = m_form->grab().toImage().convertToFormat(QImage::Format_RGB32);
        m_form->setFocus(Qt::OtherFocusReason);
        QTRY_VERIFY(WindowDriver::focus() != stop);
        const QImage bare = m_form->grab().toImage().convertToFormat(QImage::Format_RGB32);
        // The cue: the pixels that changed, within the stop.
        const QRect area = QRect(stop->mapTo(m_form.get(), QPoint(0, 0)), stop->size()) & m_form->rect();
        QRect ring;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                if (cue.pixel(x, y) != bare.pixel(x, y))
                    ring |= QRect(x, y, 1, 1);
            }
        }
        const QString what = stop->objectName();
        QVERIFY2(ring.width() >= 4 && ring.height() >= 4, qPrintable(what + ": no cue"));
        auto standsOut = [&](int x, int y, int dx, int dy) {
            // The two pixels across the cue's width at this point.
            const double best = std::max(contrast(cue.pixel(x, y), bare.pixel(x, y)),
                                         contrast(cue.pixel(x + dx, y + dy), bare.pixel(x + dx, y + dy)));
            return best >= 3.0;
        };
        for (int x = ring.left() + 1; x < ring.right(); ++x) {
            QVERIFY2(standsOut(x, ring.top(), 0, 1), qPrintable(what + QStringLiteral(": top at %1").arg(x)));
            QVERIFY2(standsOut(x, ring.bottom(), 0, -1), qPrintable(what + QStringLiteral(": bottom at %1").arg(x)));
        }
        for (int y = ring.top() + 1; y < ring.bottom(); ++y) {
            QVERIFY2(standsOut(ring.left(), y, 1, 0), qPrintable(what + QStringLiteral(": left at %1").arg(y)));
            QVERIFY2(standsOut(ring.right(), y, -1, 0), qPrintable(what + QStringLiteral(": right at %1").arg(y)));
        }
    }
}

// A click on the palette's collection tab brings the collection forward
// with no cue anywhere: the keyboard follows to the panel shown.
void KeyboardTest::noCueAfterAClick()
{
    QVERIFY(WindowDriver::showReady(*m_form));
    const QImage before = m_form->palettac()->grab().toImage();
    MovieControl *palette = m_form->palettac();
    QAccessibleInterface *tab = QAccessible::queryAccessibleInterface(palette)->child(1);
    WindowDriver::clickThroughWindow(palette, tab->rect().center() - palette->mapToGlobal(QPoint(0, 0)));
    QTRY_VERIFY(m_form->tart_pb(1)->isVisible());
    QCOMPARE(WindowDriver::focus(), m_form->tart_pb(1));
    QCOMPARE(m_form->palettac()->grab().toImage(), before);
    const QImage panel = m_form->tart_pb(1)->grab().toImage();
    m_form->setFocus(Qt::OtherFocusReason);
    m_form->tart_pb(1)->setFocus(Qt::TabFocusReason);
    QVERIFY(m_form->tart_pb(1)->grab().toImage() != panel);  // the cue, had it been the keyboard
}

QTEST_MAIN(KeyboardTest)
#include "test_keyboard.moc"
