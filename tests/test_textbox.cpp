// SPDX-License-Identifier: MIT
// The text box on its own: the character each key produces as the X11
// platform delivers it, the handlers' say over a key, and the maximum length
// that binds the user but not the program.
#include "WindowDriver.h"

#include "widgets/TextBox.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>

class TextBoxTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void keyAscii_data();
    void keyAscii();
    void handlerReplacesOrDiscardsTheCharacter_data();
    void handlerReplacesOrDiscardsTheCharacter();
    void editingKeysKeepTheirEffect_data();
    void editingKeysKeepTheirEffect();
    void maximumLengthBindsTheUserNotTheProgram();

private:
    std::unique_ptr<TextBox> m_box;
};

void TextBoxTest::init()
{
    m_box = std::make_unique<TextBox>();
    m_box->resize(80, 20);
    m_box->show();
    m_box->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_box.get()));
    m_box->setFocus();
}

void TextBoxTest::cleanup()
{
    m_box.reset();
}

void TextBoxTest::keyAscii_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("expected");

    QTest::newRow("digit") << int(Qt::Key_5) << int(Qt::NoModifier) << int('5');
    QTest::newRow("letter") << int(Qt::Key_K) << int(Qt::NoModifier) << int('k');
    QTest::newRow("capital") << int(Qt::Key_K) << int(Qt::ShiftModifier) << int('K');
    QTest::newRow("space") << int(Qt::Key_Space) << int(Qt::NoModifier) << 32;
    QTest::newRow("backspace") << int(Qt::Key_Backspace) << int(Qt::NoModifier) << 8;
    QTest::newRow("tab") << int(Qt::Key_Tab) << int(Qt::NoModifier) << 9;
    QTest::newRow("enter") << int(Qt::Key_Return) << int(Qt::NoModifier) << 13;
    QTest::newRow("keypad enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << 13;
    QTest::newRow("escape") << int(Qt::Key_Escape) << int(Qt::NoModifier) << 27;
    QTest::newRow("ctrl+v") << int(Qt::Key_V) << int(Qt::ControlModifier) << 22;
    QTest::newRow("ctrl+a") << int(Qt::Key_A) << int(Qt::ControlModifier) << 1;
    // Keys whose X11 events carry a control character, or none, produce no
    // character at all.
    QTest::newRow("delete") << int(Qt::Key_Delete) << int(Qt::NoModifier) << 0;
    QTest::newRow("home") << int(Qt::Key_Home) << int(Qt::NoModifier) << 0;
    QTest::newRow("left") << int(Qt::Key_Left) << int(Qt::NoModifier) << 0;
    QTest::newRow("shift alone") << int(Qt::Key_Shift) << int(Qt::ShiftModifier) << 0;
}

void TextBoxTest::keyAscii()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, expected);
    const auto mods = Qt::KeyboardModifiers(modifiers);
    const QKeyEvent event(QEvent::KeyPress, key, mods, WindowDriver::x11Text(key, mods));
    QCOMPARE(TextBox::keyAsciiOf(&event), expected);
}

void TextBoxTest::handlerReplacesOrDiscardsTheCharacter_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");

    QTest::newRow("replaced") << "ab1" << "AB1";
    QTest::newRow("discarded") << "a-b" << "AB";
}

void TextBoxTest::handlerReplacesOrDiscardsTheCharacter()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    // A handler that capitalises letters and discards '-'.
    QSignalSpy downs(m_box.get(), &TextBox::KeyDown);
    QSignalSpy ups(m_box.get(), &TextBox::KeyUp);
    connect(m_box.get(), &TextBox::KeyPress, this, [](int &keyAscii) {
        keyAscii = keyAscii == '-' ? 0 : QChar(char16_t(keyAscii)).toUpper().unicode();
    });
    WindowDriver::type(typed);
    QCOMPARE(m_box->text(), shown);
    QCOMPARE(downs.size(), typed.size());
    QCOMPARE(ups.size(), typed.size());
}

void TextBoxTest::editingKeysKeepTheirEffect_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("after");

    QTest::newRow("home, delete") << QList<int>{Qt::Key_Home, Qt::Key_Delete} << "2";
    QTest::newRow("left, delete") << QList<int>{Qt::Key_Left, Qt::Key_Delete} << "1";
    QTest::newRow("home, end, backspace")
        << QList<int>{Qt::Key_Home, Qt::Key_End, Qt::Key_Backspace} << "1";
}

void TextBoxTest::editingKeysKeepTheirEffect()
{
    QFETCH(QList<int>, keys);
    QFETCH(QString, after);
    // A handler that lets digits and Backspace through and discards every
    // other character, as the page-number box does.
    int presses = 0;
    connect(m_box.get(), &TextBox::KeyPress, this, [&presses](int &keyAscii) {
        ++presses;
        if (keyAscii != 8 && (keyAscii < '0' || keyAscii > '9'))
            keyAscii = 0;
    });
    WindowDriver::type(QStringLiteral("12"));
    for (int key : keys)
        WindowDriver::key(key);
    QCOMPARE(m_box->text(), after);
    // Only the digits and Backspace raised KeyPress.
    QCOMPARE(presses, 2 + int(keys.count(Qt::Key_Backspace)));
}

void TextBoxTest::maximumLengthBindsTheUserNotTheProgram()
{
    m_box->setMaxTypedLength(3);
    WindowDriver::type(QStringLiteral("12345"));
    QCOMPARE(m_box->text(), QStringLiteral("123"));

    m_box->clear();
    QApplication::clipboard()->setText(QStringLiteral("abcdef"));
    WindowDriver::key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(m_box->text(), QStringLiteral("abc"));

    // A text the program sets is shown whole.
    m_box->setText(QStringLiteral("K8.04.43.x"));
    QCOMPARE(m_box->text(), QStringLiteral("K8.04.43.x"));
}

QTEST_MAIN(TextBoxTest)
#include "test_textbox.moc"
