// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QList>
#include <QPoint>
#include <QString>

#include <functional>

#include <optional>

class QKeySequence;
class QMenu;
class QWidget;

// The copy menu of a colour: its code, and, when its colour is known,
// #rrggbb, rgb(r, g, b), "R G B" and CIE L*a*b* (D65), each entry showing
// what it copies. What is copied goes to the clipboard, and copied() is
// told what, for the window's notice.
namespace CopyMenu {

struct Copied
{
    QString text;   // what went to the clipboard
    QString what;   // "code", "hex", … as the user reads it
};

// The texts a colour can be copied as, in menu order: the code first.
QList<Copied> textsOf(const QString &code, const std::optional<QColor> &colour);

// Fills menu with one entry per text; choosing one copies it and calls
// copied.
void fill(QMenu *menu, const QString &code, const std::optional<QColor> &colour,
          const std::function<void(const Copied &)> &copied);

// A new context menu (deleted when closed) that starts with the copy
// entries of a colour, when there is one (code not empty), and a separator;
// what is copied goes to copied as "Copied …".
QMenu *start(const QString &code, const std::optional<QColor> &colour,
             const std::function<void(const QString &said)> &copied);

// Adds an entry that shows the key which does the same outside the menu.
void addKeyed(QMenu *menu, const QString &text, const QKeySequence &key, const std::function<void()> &action);

// Opens menu at globalPos. Opened from the keyboard, its first entry is
// the current one, as a screen reader then reads it and arrows move from it.
void popup(QMenu *menu, const QPoint &globalPos, bool byKeyboard);

// Puts text on the clipboard (and in the X11 selection where there is one).
void toClipboard(const QString &text);

} // namespace CopyMenu
