// SPDX-License-Identifier: MIT
#pragma once

#include "widgets/Twips.h"

#include <QtCore/qnamespace.h>

// The window's fixed layout: every control with its container, place, size,
// first state and tab index, and the first properties of each kind of
// control. Positions and sizes are in twips, 15 to a pixel at 96 dpi,
// measured from the inside top-left corner of the container.
namespace Layout {

constexpr int twipsPerPixel = Twips::perPixel;
using Twips::px;

// The window's client area.
constexpr int clientWidth = 3150;
constexpr int clientHeight = 10350;

enum class Kind { Movie, PictureBox, TextBox, Label, DataCursor };

struct Control
{
    const char *name;
    int index;          // element of a control array; -1 for a single control
    Kind kind;
    const char *container;  // "Form1", or a name "array(index)" / "name"
    int left, top, width, height;
    bool visible;
    bool enabled;
    int tabIndex;       // -1: takes no part in the tab order at all
};

// In creation order; among the controls of one container, an earlier one
// lies in front of a later one.
extern const Control controls[];
extern const int controlCount;

struct TextBoxProps
{
    const char *name;
    const char *text;
    int maxLength;
    Qt::Alignment alignment;
    bool readOnly;
    unsigned backColor;  // 0xRRGGBB
    const char *font;    // face key of fonts(), nullptr: the window's font
    double points;
};
extern const TextBoxProps textBoxes[];
extern const int textBoxCount;

struct LabelProps
{
    const char *name;
    int index;
    const char *caption;
    Qt::Alignment alignment;
    unsigned textColor;
    const char *font;
    double points;
    bool bold;
};
extern const LabelProps labels[];
extern const int labelCount;

struct PictureProps
{
    const char *name;
    int index;
    const char *picture;    // resource, nullptr: none
    unsigned backColor;     // 0xRRGGBB
};
extern const PictureProps pictures[];
extern const int pictureCount;

// The window's own font and back colour.
inline constexpr const char *windowFont = "MS Sans Serif";
inline constexpr double windowFontPoints = 8.25;
inline constexpr unsigned windowBackColor = 0xE5E5E5;
inline constexpr const char *windowPicture = ":/artwork/window.bmp";

// The faces that stand in for the layout's font names, chosen explicitly so
// that every machine renders alike.
const char *faceFor(const char *fontName);

} // namespace Layout
