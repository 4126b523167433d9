// SPDX-License-Identifier: MIT
#pragma once

#include "colour/Lab.h"

#include <QRgb>
#include <QString>
#include <QStringView>
#include <QVector>

#include <optional>

// One token of a CSS value (CSS Syntax 3, what a declaration's value needs):
// identifiers, functions up to their closing parenthesis, hashes, numbers
// with their unit, strings and url()s (never looked into), commas, slashes.
struct CssToken
{
    enum class Type { Ident, Function, Hash, Number, Percentage, Dimension, String, Url, Comma, Slash, Open, Close,
                      Delim, Space };
    Type type = Type::Delim;
    QString text;        // an identifier's, a function's or a hash's name, a dimension's unit
    double number = 0;
    qsizetype start = 0; // where it begins in the value
    qsizetype end = 0;
};

// A colour as CSS Color 4 writes it: #rgb[a] and #rrggbb[aa], rgb() and
// rgba() (the comma and the space syntax), hsl(), hwb(), lab(), lch(),
// oklab(), oklch(), color() in each predefined space, and the named colours.
// Each is converted through its own space with the exact matrices CSS Color
// 4 gives, to D50 XYZ; lab() and lch() are D50 already. transparent,
// currentcolor and the system colours are not colours.
class CssColour
{
public:
    enum class Kind { Colour, Malformed };

    Kind kind = Kind::Malformed;
    QString why;       // for Malformed
    // An sRGB colour given in 8 bits and within sRGB needs no Lab of its
    // own: rgb is the colour. Any other has its Lab (D65, as the card's),
    // and rgb is its look on screen, clipped to sRGB when outside it.
    QRgb rgb = 0;
    std::optional<Lab> lab;
    bool fromLab = false;     // lab() or lch()
    bool outsideSrgb = false;
    double alpha = 1;

    // The tokens of a value.
    static QVector<CssToken> tokens(QStringView value);
    // Whether the name is a colour function: rgb(, hsl(, color(, ...
    static bool isColourFunction(const QString &name);
    // The named colour, or nothing.
    static std::optional<QRgb> named(const QString &ident);
    // The colour of a hash token's name, or of a colour function whose
    // arguments are tokens[from, to) (from just past the function token,
    // to at its closing parenthesis, or the end when it is not closed).
    static CssColour fromHash(const QString &name);
    static CssColour fromFunction(const QString &function, const QVector<CssToken> &tokens, qsizetype from,
                                  qsizetype to, bool closed);
};
