#include "widgets/Swatch.h"

#include <QMouseEvent>

Swatch::Swatch(int index, QWidget *parent) : PictureBox(parent), m_index(index)
{
    setFocusPolicy(Qt::NoFocus);
}

void Swatch::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void Swatch::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton
                       && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        emit Click(m_index);
}
