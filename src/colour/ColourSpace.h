// SPDX-License-Identifier: MIT
#pragma once

#include "colour/Lab.h"

#include <QRgb>

// Conversions between the card's sRGB values and CIE L*a*b* (D65), and the
// CIEDE2000 colour difference, all through Little CMS. Safe to call from
// several threads.
class ColourSpace
{
public:
    // The 8-bit sRGB colour in L*a*b* with the D65 white: sRGB white is
    // L* 100, a* = b* = 0.
    static Lab labFromRgb(QRgb rgb);

    // CIEDE2000 with the parametric factors kL = kC = kH = 1.
    static double deltaE00(const Lab &first, const Lab &second);
};
