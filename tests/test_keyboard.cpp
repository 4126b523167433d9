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

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QTest>

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
    WindowDriver::key(Qt::Key_Insert);
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

QTEST_MAIN(KeyboardTest)
#include "test_keyboard.moc"
