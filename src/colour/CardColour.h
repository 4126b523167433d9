// SPDX-License-Identifier: MIT
#pragma once

#include "colour/Lab.h"

#include <QRgb>
#include <QString>

// One card colour as the colour search sees it: its serial number, code,
// sRGB value and that value in L*a*b*, computed once.
struct CardColour
{
    int sn = 0;
    QString code;
    QRgb rgb = 0;
    Lab lab;
};
