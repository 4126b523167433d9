// SPDX-License-Identifier: MIT
#pragma once

// Where the swatches of a page stand on the card panel, in twips.
namespace PageGeometry {

constexpr int swatchLeft = 105;
constexpr int swatchWidth = 1905;
constexpr int swatchHeight = 600;
constexpr int swatchGap = 45;
constexpr int firstSwatchTop = 45;
// The selection frame surrounds a swatch by this much on every side.
constexpr int frameBorder = 30;

// Top edge of swatch i (1-based).
constexpr int swatchTop(int i, int height = swatchHeight)
{
    return (i - 1) * (height + swatchGap) + firstSwatchTop;
}

} // namespace PageGeometry
