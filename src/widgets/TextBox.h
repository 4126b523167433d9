// SPDX-License-Identifier: MIT
#pragma once

#include <QKeySequence>
#include <QLineEdit>

// A borderless single-line text box that reports the keyboard the way the
// program's handlers expect it: KeyDown when a key goes down, KeyPress with
// the character the key produces (which a handler may change, or set to 0 to
// discard the key), and KeyUp when the key is released. Keys that produce no
// character (arrows, Delete, Home, End, Shift) raise only KeyDown and KeyUp
// and keep their usual editing effect.
//
// The maximum length limits what the user types or pastes, not what the
// program writes: a text set by the program is shown whole, however long.
class TextBox : public QLineEdit
{
    Q_OBJECT

public:
    explicit TextBox(QWidget *parent = nullptr);

    // The most characters the user can bring into the box; 0: no limit.
    void setMaxTypedLength(int length);
    int maxTypedLength() const { return m_maxTypedLength; }

    void setBackColor(const QColor &color);
    QColor backColor() const;
    void setForeColor(const QColor &color);
    QColor foreColor() const;

    // The character code a key event produces: 8 Backspace, 9 Tab, 13 Enter,
    // 27 Escape, the control codes 1-26 for Ctrl with a letter, otherwise
    // the printable character it types; 0 when the key produces no
    // character (Delete, Home, the arrows, whatever text they carry).
    static int keyAsciiOf(const QKeyEvent *event);

    // Keys the window acts on wherever the keyboard is: in the box they
    // still raise KeyDown and KeyUp, but type nothing and go on to the
    // window.
    void setWindowKeys(const QList<QKeySequence> &keys) { m_windowKeys = keys; }

signals:
    void KeyDown(int keyCode, Qt::KeyboardModifiers shift);
    void KeyPress(int &keyAscii);
    void KeyUp(int keyCode, Qt::KeyboardModifiers shift);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    // How many more characters fit in place of the selection.
    int room() const;
    // Pastes as much of the clipboard's text, or of the selection another
    // window offers, as there is room for.
    void pasteWithinLimit(bool fromSelection = false);

    int m_maxTypedLength = 0;
    QList<QKeySequence> m_windowKeys;
};
