// SPDX-License-Identifier: MIT
#pragma once

#include "colour/Lab.h"

#include <QRgb>
#include <QTypeInfo>
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

// Its members move as bytes, so a list of them grows by reallocating in
// place rather than copying each entry into fresh memory: an export of
// 100,000 entries otherwise touched twice their size in new pages.
Q_DECLARE_TYPEINFO(PaletteEntry, Q_RELOCATABLE_TYPE);
