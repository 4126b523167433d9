// SPDX-License-Identifier: MIT
#pragma once

#include <QRgb>
#include <QString>

// A colour in words, as a screen reader says it: lightness, chroma and hue
// ("light greyish blue", "dark vivid red"), or a grey, black or white for a
// colour with next to no chroma. The words come from bands of CIE L*, C*
// and h° (D65), one table each.
class ColourWords
{
public:
    static QString of(QRgb rgb);
    // l: L* 0-100; c: C*; h: hue angle in degrees.
    static QString of(double l, double c, double h);
};
