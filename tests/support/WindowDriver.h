// SPDX-License-Identifier: MIT
#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>

class Form1;
class QAction;
class QMenu;
class QWidget;

// Drives a real window as a person would: shows it, types into whatever has
// the keyboard focus and clicks through the window, so that every event
// reaches the widget under the pointer.
namespace WindowDriver {

// Shows the window, dismisses the intro and waits until it is active.
bool showReady(Form1 &form);

// The text the X11 platform gives a key event: printable characters,
// the control characters of Backspace, Tab, Enter, Escape, Delete (U+007F)
// and Ctrl with a letter (Ctrl+V: U+0016); none for keys such as Home or the
// arrows. typed, when given, is the character a printable key produced.
QString x11Text(int qtKey, Qt::KeyboardModifiers modifiers, QChar typed = QChar());

// Types text one key at a time into the focused widget, each key pressed
// and released as the X server delivers it.
void type(const QString &text);
// Presses and releases one key as the X server delivers it: with its text,
// the press to the focused widget and the release to the widget that has
// the focus after the press was handled.
void key(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// Clicks at a point of a widget, delivered through the window so that the
// widget actually under that point receives it.
void clickThroughWindow(QWidget *widget, QPoint at);

// The focused widget.
QWidget *focus();

// Opens widget's context menu as a right click does; null if none opened.
QMenu *openContextMenu(QWidget *widget);
// The menu's entry of that text, or null.
QAction *menuEntry(const QMenu *menu, const QString &text);
// The texts of the menu's entries, separators left out.
QStringList menuEntries(const QMenu *menu);
// What the window's notice shows, empty while it is hidden.
QString noticeOf(const QWidget &window);

} // namespace WindowDriver
