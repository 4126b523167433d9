// SPDX-License-Identifier: MIT
#include "widgets/PictureBox.h"

#include "platform/Artwork.h"
#include "platform/ScreenColour.h"
#include "widgets/CardPaint.h"
#include "widgets/FocusCue.h"
#include "widgets/AccessiblePicture.h"

#include <QPaintEvent>
#include <QPainter>

#include <utility>

PictureBox::PictureBox(QWidget *parent) : QWidget(parent)
{
    AccessiblePicture::installFactory();
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

PictureBox::~PictureBox() = default;

void PictureBox::setPicture(const QString &resource)
{
    m_pictureResource = resource;
    m_picture.reset();
    update();
}

QPixmap PictureBox::picture() const
{
    if (!m_picture && !m_pictureResource.isEmpty())
        m_picture = std::make_unique<QPixmap>(Artwork::picture(m_pictureResource));
    return m_picture ? *m_picture : QPixmap();
}

void PictureBox::setUnknown(bool unknown)
{
    if (unknown == m_unknown)
        return;
    m_unknown = unknown;
    update();
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    // One rectangle of the exposed region at a time. Clipped to a region of
    // many rectangles (a panel round the swatches that stand on it), Qt
    // fills and blends line by line and hands anything taller than a few
    // dozen lines to worker threads; clipped to one rectangle, it copies
    // the picture and fills the colour at once, on this thread. The pixels
    // are the same.
    const QRegion &exposed = event->region();
    if (exposed.rectCount() == 1) {
        paintArea(painter);
        return;
    }
    for (const QRect &part : exposed) {
        painter.setClipRect(part);
        paintArea(painter);
    }
}

void PictureBox::paintArea(QPainter &painter)
{
    if (m_unknown) {
        // Grey hatching on light grey: visibly "no colour known".
        painter.fillRect(rect(), QColor(200, 200, 200));
        painter.fillRect(rect(), QBrush(QColor(150, 150, 150), Qt::BDiagPattern));
    } else {
        painter.fillRect(rect(), m_cardColour ? CardPaint::of(m_backColor) : ScreenColour::of(m_backColor));
        if (!m_pictureResource.isEmpty())
            painter.drawPixmap(0, 0, ScreenColour::of(picture()));
    }
    if (m_keyboardFocus && hasFocus())
        FocusCue::draw(painter, rect());
}

void PictureBox::focusInEvent(QFocusEvent *event)
{
    m_keyboardFocus = FocusCue::fromKeyboard(event);
    if (m_keyboardFocus)
        update();
    QWidget::focusInEvent(event);
}

void PictureBox::focusOutEvent(QFocusEvent *event)
{
    if (std::exchange(m_keyboardFocus, false))
        update();
    QWidget::focusOutEvent(event);
}
