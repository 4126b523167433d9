// SPDX-License-Identifier: MIT
#pragma once

#include "colour/Lab.h"

#include <QRgb>
#include <QString>

#include <optional>

// One colour of an exported or imported palette: a card colour or a
// collection entry. A collection entry whose code is not on the card has
// no colour; its Lab is then meaningless, and a page or row of 0 means none.
struct PaletteEntry
{
    QString code;
    std::optional<QRgb> rgb;
    Lab lab;
    int page = 0;
    int row = 0;

    bool operator==(const PaletteEntry &o) const
    {
        return code == o.code && rgb == o.rgb && (!rgb || lab == o.lab) && page == o.page && row == o.row;
    }
    bool operator!=(const PaletteEntry &o) const { return !(*this == o); }
};
