// SPDX-License-Identifier: MIT
#pragma once

#include <QRgb>
#include <QString>

// A colour as the user types it: a card code in any case ("k8.04.43"),
// "#rrggbb", "rrggbb", "rgb(r, g, b)" or three numbers "r g b" (or
// "r, g, b"), each number 0 to 255. Whether a code is on the card is for
// the caller to find out; this only recognises its shape.
class ColourInput
{
public:
    enum class Kind { Invalid, Code, Colour };

    static ColourInput parse(const QString &text);

    Kind kind() const { return m_kind; }
    bool isValid() const { return m_kind != Kind::Invalid; }
    // The code in capitals, for Kind::Code.
    QString code() const { return m_code; }
    // The colour, for Kind::Colour.
    QRgb rgb() const { return m_rgb; }
    // Why the text is not a colour, for Kind::Invalid; one sentence.
    QString error() const { return m_error; }
    // For Kind::Invalid: whether the text is the start of a colour not yet
    // typed whole ("K8.0", "#12", "rgb(1, 2"), which is no error to show
    // while the user types.
    bool isIncomplete() const { return m_incomplete; }

private:
    ColourInput() = default;
    static ColourInput read(const QString &typed);
    static ColourInput invalid(const QString &error);
    static ColourInput colour(int r, int g, int b);

    Kind m_kind = Kind::Invalid;
    QString m_code;
    QRgb m_rgb = 0;
    QString m_error;
    bool m_incomplete = false;
};
