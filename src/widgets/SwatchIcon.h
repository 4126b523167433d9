// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QIcon>

// A colour square for a row of an item view, painted as the screen shows
// the colour, and as the eye the user chose sees it (CardPaint). It is the same square whether its row is selected or not: a
// view left to itself tints a selected row's icon with the selection's
// colour, and the square would show another colour than its own. The
// selection is marked around it, by the row.
class SwatchIcon
{
public:
    // side pixels square; outlined: a dark grey edge of one pixel, inside.
    static QIcon of(const QColor &colour, int side, bool outlined);
    // An icon of colours painted already: the same face in every mode.
    static QIcon untinted(const QPixmap &face);
};
