// SPDX-License-Identifier: MIT
#pragma once

#include "colour/PaletteFormat.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

#include <atomic>
#include <functional>

struct PaletteEntry;

// Palettes of other programs read for an import: each entry's name as its
// code, its colour, and from CSV its page and row; their L*a*b* is left to
// whoever needs it (an import only for colours without a code). Any
// input, however damaged, gives either entries or an error that says what
// is wrong and where; nothing is allocated beyond what the input holds.
class PaletteReader
{
public:
    // How a reading hands its entries over and learns it is no longer
    // wanted. With take set, each entry goes to it as it is read and none
    // is kept, so that a large file is never held as entries; cancel is
    // looked at often enough that a reading stops within a few
    // milliseconds of it being set.
    struct Reading
    {
        std::function<void(const PaletteEntry &)> take;
        const std::atomic_bool *cancel = nullptr;
    };

    struct Result
    {
        // What was read, unless a Reading's take was given it.
        QVector<PaletteEntry> entries;
        int read = 0;  // entries read, kept or handed over
        // Colours that could not be read, each named with where it stands
        // and why ("block 7 \u201cGold\u201d: a Pantone colour"); skipped counts them.
        QStringList unread;
        int skipped = 0;
        // Of the entries, how many were given in CMYK (read through the
        // profile) and in Lab.
        int cmyk = 0;
        int lab = 0;
        // Of the entries, how many lay outside sRGB (matched by their Lab,
        // shown clipped) and how many were given with an alpha below 1
        // (matched as opaque).
        int outsideSrgb = 0;
        int translucent = 0;
        // Empty when the whole file was read.
        QString error;
        // The file is well formed and lists no colour: a palette that is
        // empty by its own word, not a file nothing could be found in.
        bool saysEmpty = false;
        bool cancelled = false;

        bool ok() const { return error.isEmpty(); }

        // For the readers: an entry read, and whether to stop now.
        void add(const PaletteEntry &entry);
        bool stop();

    private:
        friend class PaletteReader;
        Reading m_reading;
    };

    static Result gimp(const QByteArray &data);
    static Result adobeSwatchExchange(const QByteArray &data);
    // Columns are found by name in the header: code, and hex or r, g, b;
    // page and row when present. A row with no colour is an entry without one.
    static Result csv(const QByteArray &data);
    // A stylesheet: each colour of a custom property, or of an ordinary
    // declaration (named by its selector and property), in every form of
    // CSS Color 4. PaletteWriter::css's --color-K8-04-43 is read back as
    // K8.04.43. A value that is not a colour is not counted.
    static Result css(const QByteArray &data);
    // LibreOffice colour table (.soc), of any version's namespaces.
    static Result libreOffice(const QByteArray &data);
    // Scribus colour set: RGB, CMYK and Lab entries.
    static Result scribus(const QByteArray &data);
    // SwatchBooker (.sbz: a zip archive holding swatchbook.xml).
    static Result swatchBooker(const QByteArray &data);
    // Krita palette (.kpl: a zip archive holding colorset.xml).
    static Result krita(const QByteArray &data);
    // Photoshop colour swatches (.aco), version 1 and, where present, the
    // version 2 section with names.
    static Result photoshop(const QByteArray &data);

    // The reader of the format named. A cancelled reading is an error,
    // with cancelled set.
    static Result read(PaletteFormat::Id format, const QByteArray &data, const Reading &reading);
    static Result read(PaletteFormat::Id format, const QByteArray &data);

private:
    static void readAs(PaletteFormat::Id format, const QByteArray &data, Result &result);
    static void gimpInto(const QByteArray &data, Result &result);
    static void adobeSwatchExchangeInto(const QByteArray &data, Result &result);
    static void csvInto(const QByteArray &data, Result &result);
    static void cssInto(const QByteArray &data, Result &result);
    static void libreOfficeInto(const QByteArray &data, Result &result);
    static void scribusInto(const QByteArray &data, Result &result);
    static void swatchBookerInto(const QByteArray &data, Result &result);
    static void kritaInto(const QByteArray &data, Result &result);
    static void photoshopInto(const QByteArray &data, Result &result);
};
