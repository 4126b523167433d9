// SPDX-License-Identifier: MIT
#include "widgets/TextBox.h"

#include <QAction>
#include <QClipboard>
#include <QColor>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPalette>
#include <QPointer>

#include <climits>

namespace {

// QLineEdit keeps a fixed 2-pixel margin inside each side of its text line,
// and it centres or right-aligns the text's width plus one pixel for the
// cursor. The window's boxes are drawn to fit their text without either:
// "W8" needs all 17 pixels of a code field, "888" nearly all 22 of baby_num.
// Negative text margins cancel the inner margin, and one more pixel on the
// right pays for the cursor, so that the text line spans the whole box and
// centred text stands in its middle. The box's own edges still clip.
struct TextLine
{
    int left, right;
};
constexpr TextLine innerMarginCancel = {-2, -3};

constexpr QColor selectionColour(0x19, 0x48, 0x66);

} // namespace

TextBox::TextBox(QWidget *parent) : QLineEdit(parent)
{
    setFrame(false);
    setTextMargins(innerMarginCancel.left, 0, innerMarginCancel.right, 0);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    // Nothing is dropped into a box: text comes by keyboard or paste only.
    setAcceptDrops(false);
    // Tab selects a box's text, and the selection is what shows that the
    // keyboard is there. Qt's selection blue (#308cc6) stands out from the
    // boxes' greys by less than 3:1; the same blue at 40% of its brightness
    // stands out by 6.8:1 or more from them and 4.3:1 from the border line
    // under the page box, with the white text on it at 9.7:1.
    QPalette p = palette();
    p.setColor(QPalette::Highlight, selectionColour);
    p.setColor(QPalette::HighlightedText, Qt::white);
    setPalette(p);
}

void TextBox::setMaxTypedLength(int length)
{
    m_maxTypedLength = qMax(0, length);
}

int TextBox::room() const
{
    if (m_maxTypedLength == 0)
        return INT_MAX;
    return qMax(0, m_maxTypedLength - int(text().size() - selectedText().size()));
}

void TextBox::pasteWithinLimit(bool fromSelection)
{
    if (isReadOnly())
        return;
    QString clip = QGuiApplication::clipboard()->text(fromSelection ? QClipboard::Selection
                                                                    : QClipboard::Clipboard);
    clip.truncate(qMin(int(clip.size()), room()));
    if (!clip.isEmpty() || hasSelectedText())
        insert(clip);
}

void TextBox::setBackColor(const QColor &color)
{
    QPalette p = palette();
    p.setColor(QPalette::Base, color);
    setPalette(p);
}

QColor TextBox::backColor() const
{
    return palette().color(QPalette::Base);
}

void TextBox::setForeColor(const QColor &color)
{
    QPalette p = palette();
    p.setColor(QPalette::Text, color);
    setPalette(p);
}

QColor TextBox::foreColor() const
{
    return palette().color(QPalette::Text);
}

int TextBox::keyAsciiOf(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
        return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    default:
        break;
    }
    if ((event->modifiers() & Qt::ControlModifier) && event->key() >= Qt::Key_A
        && event->key() <= Qt::Key_Z)
        return event->key() - Qt::Key_A + 1;
    // Any other key produces a character only when it types a printable
    // one. The control characters some platforms attach to editing keys
    // (U+007F with Delete on X11) are no characters: such keys keep their
    // editing effect.
    const QString text = event->text();
    if (text.isEmpty() || !text.at(0).isPrint())
        return 0;
    return text.at(0).unicode();
}

void TextBox::keyPressEvent(QKeyEvent *event)
{
    // A handler may move the focus or rebuild the window; carry on only
    // while this box still exists.
    QPointer<TextBox> self(this);
    emit KeyDown(event->key(), event->modifiers());
    if (!self)
        return;
    const QKeySequence pressed(event->keyCombination());
    for (const QKeySequence &key : std::as_const(m_windowKeys)) {
        if (key.matches(pressed) == QKeySequence::ExactMatch) {
            event->ignore();
            return;
        }
    }

    const int original = keyAsciiOf(event);
    int keyAscii = original;
    if (original != 0) {
        emit KeyPress(keyAscii);
        if (!self)
            return;
        if (keyAscii == 0) {
            event->accept();
            return;
        }
    }
    if (event->matches(QKeySequence::Paste)) {
        pasteWithinLimit();
        event->accept();
        return;
    }
    if (original == 0) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    // A character beyond the maximum length is refused, as a full box does.
    const bool printable = keyAscii >= 32 && keyAscii != 127;
    if (printable && !isReadOnly() && room() == 0) {
        event->accept();
        return;
    }
    if (keyAscii == original) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    // The handler replaced the character: insert the new one instead.
    QKeyEvent replaced(event->type(), event->key(), event->modifiers(),
                       QString(QChar(char16_t(keyAscii))), event->isAutoRepeat(), event->count());
    QLineEdit::keyPressEvent(&replaced);
}

void TextBox::keyReleaseEvent(QKeyEvent *event)
{
    QLineEdit::keyReleaseEvent(event);
    emit KeyUp(event->key(), event->modifiers());
}

void TextBox::inputMethodEvent(QInputMethodEvent *event)
{
    const QString commit = event->commitString();
    const int fits = room();
    if (commit.size() <= fits) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent cut(event->preeditString(), event->attributes());
    cut.setCommitString(commit.left(fits), event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&cut);
    event->accept();
}

void TextBox::contextMenuEvent(QContextMenuEvent *event)
{
    // The usual menu, whose Paste keeps to the maximum length.
    QMenu *menu = createStandardContextMenu();
    if (!menu)
        return;
    const QString pasteText = QCoreApplication::translate("QLineEdit", "&Paste");
    const QList<QAction *> actions = menu->actions();
    for (QAction *action : actions) {
        if (action->text().startsWith(pasteText)) {
            action->disconnect(this);
            connect(action, &QAction::triggered, this, [this] { pasteWithinLimit(); });
        }
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void TextBox::mouseReleaseEvent(QMouseEvent *event)
{
    // A middle click pastes the selection of another window, within limit.
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()
        && rect().contains(event->position().toPoint())) {
        pasteWithinLimit(true);
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}
