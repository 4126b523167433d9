#include "widgets/Swatch.h"

#include <QMouseEvent>

Swatch::Swatch(int index, QWidget *parent) : PictureBox(parent), m_index(index)
{
    setFocusPolicy(Qt::NoFocus);
}

bool Swatch::event(QEvent *event)
{
    // A swatch shown beyond its panel's edge (a page of many colours)
    // cannot be seen: its request to be painted is dropped rather than
    // kept among the window's dirty widgets, which every later change of
    // a widget walks.
    if (event->type() == QEvent::UpdateLater && visibleRegion().isEmpty())
        return true;
    return PictureBox::event(event);
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
