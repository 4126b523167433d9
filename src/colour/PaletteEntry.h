// SPDX-License-Identifier: MIT
#pragma once

#include "colour/Lab.h"

#include <QRgb>
#include <QString>

#include <optional>

// One colour of an exported or imported palette: a card colour or a
// collection entry. A collection entry whose code is not on the card has
// no colour, and a page or row of 0 means none. Lab is the colour's
// L*a*b*, filled in for an export, and by a reader for a colour given in
// CMYK or Lab (labKnown), whose rgb is then only its look on screen;
// entries are the same when their codes, colours, pages and rows are.
struct PaletteEntry
{
    QString code;
    std::optional<QRgb> rgb;
    Lab lab;
    int page = 0;
    int row = 0;
    // Last, so that {code, rgb, lab, page, row} stays what it says.
    bool labKnown = false;

    bool operator==(const PaletteEntry &o) const
    {
        return code == o.code && rgb == o.rgb && page == o.page && row == o.row;
    }
    bool operator!=(const PaletteEntry &o) const { return !(*this == o); }
};
