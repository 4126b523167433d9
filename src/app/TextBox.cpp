#include "app/TextBox.h"

#include <QKeyEvent>
#include <QPointer>

TextBox::TextBox(QWidget *parent) : QLineEdit(parent)
{
    setFrame(false);
    setTextMargins(0, 0, 0, 0);
    setContextMenuPolicy(Qt::DefaultContextMenu);
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
    const QString text = event->text();
    if (text.isEmpty())
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

    const int original = keyAsciiOf(event);
    if (original == 0) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    int keyAscii = original;
    emit KeyPress(keyAscii);
    if (!self)
        return;
    if (keyAscii == 0) {
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
