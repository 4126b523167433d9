// SPDX-License-Identifier: MIT
#include "widgets/FocusCue.h"

#include <QFocusEvent>
#include <QPainter>

namespace FocusCue {

bool fromKeyboard(const QFocusEvent *event)
{
    switch (event->reason()) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
        return true;
    default:
        return false;
    }
}

void draw(QPainter &painter, const QRect &rect)
{
    // Two solid lines, white outside and black inside: whatever colour lies
    // beside or beneath, one of them stands out from it by at least 4.5:1,
    // on light pages and dark alike.
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(Qt::white);
    pen.setWidth(0);  // one device pixel whatever the scale
    painter.setPen(pen);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    pen.setColor(Qt::black);
    painter.setPen(pen);
    painter.drawRect(rect.adjusted(1, 1, -2, -2));
    painter.restore();
}

} // namespace FocusCue
