// SPDX-License-Identifier: MIT
#include "widgets/SwatchIcon.h"

#include "widgets/CardPaint.h"

#include <QPainter>
#include <QPixmap>

QIcon SwatchIcon::of(const QColor &colour, int side, bool outlined)
{
    QPixmap face(side, side);
    face.fill(CardPaint::of(colour));
    if (outlined) {
        QPainter painter(&face);
        painter.setPen(Qt::darkGray);
        painter.drawRect(0, 0, side - 1, side - 1);
    }
    return untinted(face);
}

QIcon SwatchIcon::untinted(const QPixmap &face)
{
    QIcon icon;
    // A face given for a mode is drawn as it is; one left out is made by
    // the style from the normal face, tinted for a selected row.
    for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Active, QIcon::Selected})
        icon.addPixmap(face, mode);
    return icon;
}
