// SPDX-License-Identifier: MIT
#pragma once

// Positions and sizes of the window's controls are in twips, 15 to a pixel
// at 96 dpi, measured from the inside top-left corner of the container.
namespace Twips {

constexpr int perPixel = 15;
constexpr int px(int twips) { return twips / perPixel; }

} // namespace Twips
