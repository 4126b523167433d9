// SPDX-License-Identifier: MIT
#include "widgets/Swatch.h"

#include <QAccessible>
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QPixmap>

Swatch::Swatch(int index, QWidget *parent) : PictureBox(parent), m_index(index)
{
    setFocusPolicy(Qt::NoFocus);
    setCardColour(true);
}

bool Swatch::event(QEvent *event)
{
    // A swatch shown beyond its panel's edge (a page of many colours)
    // cannot be seen: its request to be painted is dropped rather than
    // kept among the window's dirty widgets, which every later change of
    // a widget walks.
    if (event->type() == QEvent::UpdateLater && !withinWindow())
        return true;
    return PictureBox::event(event);
}

bool Swatch::withinWindow() const
{
    // The swatch's rectangle clipped by each widget it stands in, up to the
    // window: what could be painted of it, without the overlapping widgets
    // that visibleRegion() also takes away at many times the cost. A hidden
    // swatch is left to update(), which does nothing for it.
    QRect area = rect();
    for (const QWidget *widget = this; !widget->isWindow(); widget = widget->parentWidget()) {
        area = area.translated(widget->pos()) & widget->parentWidget()->rect();
        if (area.isEmpty())
            return false;
    }
    return true;
}

void Swatch::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    m_pressedAt = event->position().toPoint();
    event->accept();
}

QMimeData *Swatch::dragData() const
{
    auto *data = new QMimeData;
    data->setText(toolTip());
    data->setColorData(backColor());
    return data;
}

void Swatch::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_pressed || !(event->buttons() & Qt::LeftButton)
        || (event->position().toPoint() - m_pressedAt).manhattanLength() < QApplication::startDragDistance())
        return;
    m_pressed = false;  // a drag, not a click
    QPixmap face(16, 16);
    face.fill(backColor());
    auto *drag = new QDrag(this);
    drag->setMimeData(dragData());
    drag->setPixmap(face);
    drag->exec(Qt::CopyAction);
}

void Swatch::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton
                       && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        this->click();
}

void Swatch::click()
{
    emit Click(m_index);
}

void Swatch::setPlace(int row, int rowCount, qint64 page)
{
    m_row = row;
    m_rowCount = rowCount;
    m_page = page;
}

void Swatch::setFramed(bool framed)
{
    if (framed == m_framed)
        return;
    m_framed = framed;
    QAccessible::State changed;
    changed.selected = true;
    changed.focused = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
}
