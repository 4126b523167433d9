// SPDX-License-Identifier: MIT
#include "app/Layout.h"

#include <cstring>

namespace Layout {

using K = Kind;

// clang-format off
const Control controls[] = {
//   name             idx  kind           container      left   top  width height visible enabled tab
    {"intro_swf",      -1, K::Movie,      "Form1",          0,     0, 3150, 10350, true,  true,  12},
    {"tart_pb",         1, K::PictureBox, "Form1",        525,  2925, 2100,  6900, false, true,  20},
    {"baby_code",      -1, K::TextBox,    "tart_pb(1)",   120,  5280, 1905,   240, true,  true,  22},
    {"baby_color",     -1, K::PictureBox, "tart_pb(1)",   120,    45, 1905,  5115, true,  true,  21},
    {"baby_num",       -1, K::TextBox,    "tart_pb(1)",   360,  6555,  330,   225, true,  true,  23},
    {"nextb_swf",      -1, K::Movie,      "tart_pb(1)",  1560,  6585,  195,   195, true,  true,  25},
    {"previousb_swf",  -1, K::Movie,      "tart_pb(1)",  1245,  6585,  195,   195, true,  true,  26},
    {"deleteb_swf",    -1, K::Movie,      "tart_pb(1)",   675,  5895,  720,   240, true,  true,  27},
    {"baby_nummax",    -1, K::Label,      "tart_pb(1)",   690,  6555,  360,   180, true,  true,  24},
    {"data1",          -1, K::DataCursor, "Form1",          0,     0, 1200,   330, false, true,  -1},
    {"tart_pb",         0, K::PictureBox, "Form1",        525,  2925, 2100,  6900, true,  true,   0},
    {"findcode_txt3",  -1, K::TextBox,    "tart_pb(0)",  1740,  5940,  255,   210, true,  true,  29},
    {"findcode_txt2",  -1, K::TextBox,    "tart_pb(0)",  1410,  5940,  255,   210, true,  true,  28},
    {"addtobaby_swf",  -1, K::Movie,      "tart_pb(0)",   435,  6555, 1245,   240, true,  true,  19},
    {"previous_swf",   -1, K::Movie,      "tart_pb(0)",  1530,  5565,  195,   195, true,  true,  18},
    {"next_swf",       -1, K::Movie,      "tart_pb(0)",  1845,  5565,  195,   195, true,  true,  17},
    {"pagecolor",       0, K::PictureBox, "tart_pb(0)",   105,    45, 1905,   600, false, false,  2},
    {"pagen_text",     -1, K::TextBox,    "tart_pb(0)",  1020,  5565,  360,   195, true,  true,  14},
    {"findcode_txt1",  -1, K::TextBox,    "tart_pb(0)",  1080,  5940,  255,   210, true,  true,   1},
    {"pageselect",     -1, K::PictureBox, "tart_pb(0)",   120,   840, 1965,   660, false, false, 15},
    {"pagecs",         -1, K::PictureBox, "pageselect",    30,    30, 1905,   600, true,  false, 16},
    {"codedot_lb",      1, K::Label,      "tart_pb(0)",  1665,  5940,   75,   165, true,  true,  31},
    {"codedot_lb",      0, K::Label,      "tart_pb(0)",  1350,  5940,   75,   165, true,  true,  30},
    {"lab_dlt",         7, K::Label,      "tart_pb(0)",  2160,  5490,  180,   240, false, true,  11},
    {"lab_dlt",         6, K::Label,      "tart_pb(0)",  2160,  5010,  180,   240, false, true,  10},
    {"lab_dlt",         5, K::Label,      "tart_pb(0)",  2160,  4530,  180,   240, false, true,   9},
    {"lab_dlt",         2, K::Label,      "tart_pb(0)",  2160,  3090,  180,   240, false, true,   8},
    {"e_label",         2, K::Label,      "tart_pb(0)",    30,  5970,  900,   225, true,  true,   7},
    {"e_label",         1, K::Label,      "tart_pb(0)",    30,  5565,  870,   225, true,  true,   6},
    {"lab_dlt",         3, K::Label,      "tart_pb(0)",  2160,  3570,  180,   240, false, true,   5},
    {"lab_dlt",         1, K::Label,      "tart_pb(0)",  2160,  2610,  180,   240, false, true,   4},
    {"lab_dlt",         4, K::Label,      "tart_pb(0)",  2160,  4050,  180,   240, false, true,   3},
    {"palettac",       -1, K::Movie,      "Form1",        435,   435, 2280,  2355, true,  true,  13},
    {"Adodc1",         -1, K::DataCursor, "Form1",       1200,     0, 1200,   330, false, true,  -1},
    {"Adodc2",         -1, K::DataCursor, "Form1",          0,   240, 1200,   330, false, true,  -1},
};
const int controlCount = int(sizeof(controls) / sizeof(controls[0]));

constexpr Qt::Alignment centre = Qt::AlignHCenter | Qt::AlignVCenter;
constexpr Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;

const TextBoxProps textBoxes[] = {
//   name             text        max  alignment readOnly back      font      points
    {"pagen_text",    "1",         3,  centre,   false,   0xD8D8D8, nullptr,  8.25},
    {"findcode_txt1", "",          2,  centre,   false,   0xE0E0E0, "Arial",  8.25},
    {"findcode_txt2", "",          2,  centre,   false,   0xE0E0E0, "Arial",  8.25},
    {"findcode_txt3", "",          2,  centre,   false,   0xE0E0E0, "Arial",  8.25},
    {"baby_code",     "K8.04.43",  8,  centre,   true,    0xE0E0E0, "Arial",  9},
    {"baby_num",      "1",         3,  right,    true,    0xE0E0E0, "Arial",  9},
};
const int textBoxCount = int(sizeof(textBoxes) / sizeof(textBoxes[0]));

const LabelProps labels[] = {
//   name          idx caption    alignment        text colour font       points bold
    {"e_label",      1, "card_no", Qt::AlignLeft,   0x000000, "Arial",    8.25, false},
    {"e_label",      2, "c_code",  Qt::AlignLeft,   0x000000, "Arial",    8.25, false},
    {"codedot_lb",   0, ".",       Qt::AlignLeft,   0x000000, "Arial",    8.25, false},
    {"codedot_lb",   1, ".",       Qt::AlignLeft,   0x000000, "Arial",    8.25, false},
    {"baby_nummax", -1, "/888",    Qt::AlignLeft,   0x404040, "Arial",    9,    false},
    {"lab_dlt",      1, "!",       Qt::AlignHCenter, 0x000000, "Verdana", 9,    true},
    {"lab_dlt",      2, "!",       Qt::AlignHCenter, 0x000000, "Verdana", 9,    true},
    {"lab_dlt",      3, "!",       Qt::AlignHCenter, 0x000000, "Verdana", 9,    true},
    {"lab_dlt",      4, "!",       Qt::AlignHCenter, 0x000000, "Verdana", 9,    true},
    {"lab_dlt",      5, "!",       Qt::AlignHCenter, 0x000000, "Verdana", 9,    true},
    {"lab_dlt",      6, "!",       Qt::AlignHCenter, 0x000000, "Verdana", 9,    true},
    {"lab_dlt",      7, "!",       Qt::AlignHCenter, 0x000000, "Verdana", 9,    true},
};
const int labelCount = int(sizeof(labels) / sizeof(labels[0]));

// The face colour of controls, under a box that has no colour of its own.
constexpr unsigned faceColor = 0xF0F0F0;

const PictureProps pictures[] = {
//   name          idx picture                     back colour
    {"tart_pb",      0, ":/artwork/card.bmp",       0xFFFFFF},
    {"tart_pb",      1, ":/artwork/collection.bmp", 0xFFFFFF},
    {"baby_color",  -1, nullptr,                    faceColor},
    {"pagecolor",    0, nullptr,                    0xFF8080},
    {"pageselect",  -1, nullptr,                    0x808080},
    {"pagecs",      -1, nullptr,                    0xFF8080},
};
const int pictureCount = int(sizeof(pictures) / sizeof(pictures[0]));
// clang-format on

const char *faceFor(const char *fontName)
{
    struct Substitute
    {
        const char *name;
        const char *face;
    };
    static const Substitute substitutes[] = {
        {"MS Sans Serif", "Liberation Sans"},
        {"Arial", "Liberation Sans"},
        {"Verdana", "DejaVu Sans"},
    };
    for (const Substitute &s : substitutes) {
        if (std::strcmp(s.name, fontName) == 0)
            return s.face;
    }
    return fontName;
}

} // namespace Layout
