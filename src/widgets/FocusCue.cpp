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
    painter.save();
    QPen pen(QColor(32, 32, 32));
    pen.setStyle(Qt::DotLine);
    pen.setWidth(0);  // one device pixel whatever the scale
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.restore();
}

} // namespace FocusCue
