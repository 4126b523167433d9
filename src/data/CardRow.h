// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// One colour of a card as stored in a card table: its serial number, its
// place on the card (page, row 1 = lightest) and its printed code and sRGB.
struct CardRow
{
    int sn = 0;
    int page = 0;
    int row = 0;
    QString code;
    int r = 0;
    int g = 0;
    int b = 0;
};
