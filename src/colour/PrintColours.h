// SPDX-License-Identifier: MIT
#pragma once

#include "colour/Lab.h"

#include <QRgb>
#include <QString>

#include <optional>

// Colours that palettes give in print models, brought to the card's terms:
// an sRGB value to show and the L*a*b* (D65, as ColourSpace gives it) to
// match with. CMYK goes through a CMYK profile from the system (Ghostscript's
// default_cmyk.icc), relative colorimetric; without that profile CMYK
// cannot be read. Lab values as palettes store them are relative to D50 and
// are adapted to D65 with Bradford, as ColourSpace adapts sRGB.
class PrintColours
{
public:
    struct Converted
    {
        QRgb rgb = 0;
        Lab lab;
    };

    // L* 0 to 100, a* and b* as stored, relative to D50.
    static Converted fromLabD50(double l, double a, double b);
    // Each ink 0 to 1; empty when no CMYK profile was found.
    static std::optional<Converted> fromCmyk(double c, double m, double y, double k);

    // The CMYK profile's file, empty when there is none. Looked for at
    // TESSELLE_CMYK_PROFILE when that is set (an empty value: no profile),
    // else where Debian's libgs-common puts it.
    static QString cmykProfilePath();
    // How CMYK is turned into colours on screen, for the import's report.
    static QString cmykIntentName();
};
