// SPDX-License-Identifier: MIT
#include "widgets/FocusCue.h"

#include <QFocusEvent>
#include <QPainter>

#include <algorithm>

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
    // Two lines of black and white dashes, each black dash beside a white
    // one: wherever it lies, one of its two pixels stands out from what it
    // covers by at least 4.5:1, on light pages and dark, and on the black
    // selection frame it reads as a chequer, not as the frame.
    if (rect.width() < 4 || rect.height() < 4)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    constexpr int dash = 2;
    auto colour = [](int along, bool inner) { return ((along / dash) % 2 == 0) != inner ? Qt::black : Qt::white; };
    const int l = rect.left(), t = rect.top(), r = rect.right(), b = rect.bottom();
    for (int x = l + 2; x <= r - 2; x += dash) {
        const int w = std::min(dash, r - 1 - x);
        const int along = x - l;
        painter.fillRect(QRect(x, t, w, 1), colour(along, false));
        painter.fillRect(QRect(x, t + 1, w, 1), colour(along, true));
        painter.fillRect(QRect(x, b, w, 1), colour(along, false));
        painter.fillRect(QRect(x, b - 1, w, 1), colour(along, true));
    }
    for (int y = t + 2; y <= b - 2; y += dash) {
        const int h = std::min(dash, b - 1 - y);
        const int along = y - t;
        painter.fillRect(QRect(l, y, 1, h), colour(along, false));
        painter.fillRect(QRect(l + 1, y, 1, h), colour(along, true));
        painter.fillRect(QRect(r, y, 1, h), colour(along, false));
        painter.fillRect(QRect(r - 1, y, 1, h), colour(along, true));
    }
    // Each corner: black on the outside, white within.
    for (const QPoint &corner : {QPoint(l, t), QPoint(r - 1, t), QPoint(l, b - 1), QPoint(r - 1, b - 1)}) {
        painter.fillRect(QRect(corner, QSize(2, 2)), Qt::black);
        const QPoint in(corner.x() == l ? l + 1 : r - 1, corner.y() == t ? t + 1 : b - 1);
        painter.fillRect(QRect(in, QSize(1, 1)), Qt::white);
    }
    painter.restore();
}

} // namespace FocusCue
