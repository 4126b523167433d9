// SPDX-License-Identifier: MIT
#pragma once

#include <cmath>

// A colour in CIE L*a*b*, relative to the D65 white the card's codes use.
struct Lab
{
    double l = 0;
    double a = 0;
    double b = 0;

    double chroma() const { return std::hypot(a, b); }
    bool operator==(const Lab &o) const { return l == o.l && a == o.a && b == o.b; }
    bool operator!=(const Lab &o) const { return !(*this == o); }
};
