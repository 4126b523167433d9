// SPDX-License-Identifier: MIT
#include "WindowDriver.h"

#include "app/Form1.h"
#include "widgets/MovieControl.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QWidget>

namespace WindowDriver {

bool showReady(Form1 &form)
{
    qobject_cast<QWidget *>(form.control(QStringLiteral("intro_swf")))->hide();
    form.show();
    form.activateWindow();
    return QTest::qWaitForWindowExposed(&form) && QTest::qWaitForWindowActive(&form);
}

QWidget *focus()
{
    return QApplication::focusWidget();
}

QString x11Text(int qtKey, Qt::KeyboardModifiers modifiers, QChar typed)
{
    if ((modifiers & Qt::ControlModifier) && qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return QString(QChar(char16_t(qtKey - Qt::Key_A + 1)));
    switch (qtKey) {
    case Qt::Key_Backspace: return QStringLiteral("\b");
    case Qt::Key_Tab: return QStringLiteral("\t");
    case Qt::Key_Return:
    case Qt::Key_Enter: return QStringLiteral("\r");
    case Qt::Key_Escape: return QStringLiteral("\x1b");
    case Qt::Key_Delete: return QStringLiteral("\x7f");
    default: break;
    }
    if (!typed.isNull())
        return QString(typed);
    if (qtKey >= Qt::Key_Space && qtKey <= Qt::Key_AsciiTilde) {
        const QChar c{char16_t(qtKey)};
        return QString((modifiers & Qt::ShiftModifier) ? c : c.toLower());
    }
    return QString();  // arrows, Home, End, Insert, function keys: no text
}

namespace {

// One key as the X server delivers it: the press to the widget with the
// focus, the release to the one that has it by then.
void press(int qtKey, Qt::KeyboardModifiers modifiers, const QString &text)
{
    // With no widget focused, the key goes to the active window, as the
    // X server sends it to the focused window.
    QWidget *target = focus() ? focus() : QApplication::activeWindow();
    if (!target)
        qFatal("no window is active to take a key");
    QTest::sendKeyEvent(QTest::Press, target, Qt::Key(qtKey), text, modifiers);
    if (QWidget *now = focus())
        QTest::sendKeyEvent(QTest::Release, now, Qt::Key(qtKey), text, modifiers);
}

} // namespace

void key(int qtKey, Qt::KeyboardModifiers modifiers)
{
    press(qtKey, modifiers, x11Text(qtKey, modifiers));
}

void type(const QString &text)
{
    for (QChar c : text) {
        const QChar upper = c.toUpper();
        const int qtKey = upper.unicode() < 0x80 ? upper.unicode() : Qt::Key_unknown;
        press(qtKey, c.isUpper() ? Qt::ShiftModifier : Qt::NoModifier, QString(c));
    }
}

void clickThroughWindow(QWidget *widget, QPoint at)
{
    QWidget *top = widget->window();
    const QPoint inWindow = widget->mapTo(top, at);
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, Qt::NoModifier, inWindow);
}

QMenu *openContextMenu(QWidget *widget)
{
    const QPoint at = widget->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &event);
    QMenu *menu = nullptr;
    // Bounded by qWaitFor's five seconds.
    (void)QTest::qWaitFor([&menu] {
        menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        return menu != nullptr;
    });
    return menu;
}

QAction *menuEntry(const QMenu *menu, const QString &text)
{
    for (QAction *action : menu->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

QStringList menuEntries(const QMenu *menu)
{
    QStringList texts;
    for (const QAction *action : menu->actions()) {
        if (!action->isSeparator())
            texts.append(action->text());
    }
    return texts;
}

QString noticeOf(const QWidget &window)
{
    const auto *notice = window.findChild<QLabel *>(QStringLiteral("notice"));
    return notice && notice->isVisible() ? notice->text() : QString();
}

} // namespace WindowDriver
