#include "app/PictureBox.h"

#include <QPainter>

PictureBox::PictureBox(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::setBackColor(const QColor &color)
{
    if (color == m_backColor && !m_unknown)
        return;
    m_backColor = color;
    m_unknown = false;
    update();
}

void PictureBox::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    update();
}

void PictureBox::setUnknown(bool unknown)
{
    if (unknown == m_unknown)
        return;
    m_unknown = unknown;
    update();
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_unknown) {
        // Grey hatching on light grey: visibly "no colour known".
        painter.fillRect(rect(), QColor(200, 200, 200));
        painter.fillRect(rect(), QBrush(QColor(150, 150, 150), Qt::BDiagPattern));
        return;
    }
    painter.fillRect(rect(), m_backColor);
    if (!m_picture.isNull())
        painter.drawPixmap(0, 0, m_picture);
}
