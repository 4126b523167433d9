// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

struct PaletteEntry;

// Palettes of other programs read for an import: each entry's name as its
// code, its colour, and from CSV its page and row; their L*a*b* is left to
// whoever needs it (an import only for colours without a code). Any
// input, however damaged, gives either entries or an error that says what
// is wrong and where; nothing is allocated beyond what the input holds.
class PaletteReader
{
public:
    struct Result
    {
        QVector<PaletteEntry> entries;
        // Colours in a model other than RGB or grey, left out.
        int skipped = 0;
        // Empty when the whole file was read.
        QString error;

        bool ok() const { return error.isEmpty(); }
    };

    static Result gimp(const QByteArray &data);
    static Result adobeSwatchExchange(const QByteArray &data);
    // Columns are found by name in the header: code, and hex or r, g, b;
    // page and row when present. A row with no colour is an entry without one.
    static Result csv(const QByteArray &data);
};
