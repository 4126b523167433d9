// SPDX-License-Identifier: MIT
#pragma once

#include "colour/PaletteFormat.h"

#include <QByteArray>
#include <QString>
#include <QVector>

struct PaletteEntry;

// A list of colours in the file formats of other programs, as the bytes of
// the file; the caller saves them. An entry without a colour keeps its code
// where the format can say "no colour" (CSV) and is left out elsewhere,
// counted in skipped so that the caller can tell the user.
class PaletteWriter
{
public:
    struct Result
    {
        QByteArray data;
        int skipped = 0;
    };

    // GIMP palette (.gpl), as GIMP itself writes one; no Columns line for
    // columns 0 (Scribus would read one as a colour).
    static Result gimp(const QVector<PaletteEntry> &entries, const QString &paletteName, int columns = 0);
    // Adobe Swatch Exchange (.ase), version 1.0, RGB colours.
    static Result adobeSwatchExchange(const QVector<PaletteEntry> &entries);
    // Comma-separated values (RFC 4180), one row per entry under a header.
    static Result csv(const QVector<PaletteEntry> &entries);
    // CSS custom properties "--color-<code>" on :root.
    static Result css(const QVector<PaletteEntry> &entries);
    // LibreOffice colour table (.soc).
    static Result libreOffice(const QVector<PaletteEntry> &entries);
    // Scribus colour set (XML).
    static Result scribus(const QVector<PaletteEntry> &entries, const QString &paletteName);

    // The writer of the format named; empty data for a format not written.
    static Result write(PaletteFormat::Id format, const QVector<PaletteEntry> &entries, const QString &paletteName);

    // A L*a*b* value as every format here writes it: two decimals, rounded
    // half away from zero, never "-0.00".
    static QString labNumber(double value);

    // The CSS custom property name of a code: characters that may not
    // stand in a CSS identifier, such as the dots, become '-'.
    static QString cssPropertyName(const QString &code);

    // A CSV field, quoted as RFC 4180 asks when it holds a comma, a quote
    // or a line break.
    static void appendCsvField(QByteArray &out, const QString &text);
};
