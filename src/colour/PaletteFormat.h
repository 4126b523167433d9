// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// Every palette format the program knows, in one table: its name for the
// user, the suffixes that name it, whether it is read (an import) and
// written (an export), and the filter a file dialog offers for it. Export,
// import, the file dialogs and the command line's help all read this table.
class PaletteFormat
{
public:
    enum class Id { Gimp, AdobeSwatchExchange, Csv, Css, LibreOffice, Scribus, SwatchBooker, Krita, Photoshop,
                    SwatchSheet };

    Id id;
    QString name;          // "GIMP, Inkscape, Krita, LibreOffice palette"
    QStringList suffixes;  // without dots, small letters; the first is written
    bool reads = false;
    bool writes = false;

    // "Name (*.a *.b)", as a file dialog shows it.
    QString filter() const;

    static const QVector<PaletteFormat> &all();
    // How a file to read was known: its format (nullptr when neither its
    // bytes nor its name tell), and when its bytes decided against, or
    // without, its name, the format the name gives (nullptr for none).
    struct Detection
    {
        const PaletteFormat *format = nullptr;
        bool byContent = false;
        const PaletteFormat *named = nullptr;
        // "read as ... by its content" when the content decided otherwise
        // than the name; empty when they agree.
        QString note(const QString &path) const;
    };
    // The format of a file to read: by its bytes first where a format has a
    // signature (the GIMP header, ASEF, the .aco version word, a zip
    // archive holding colorset.xml or swatchbook.xml, the XML root element
    // of a LibreOffice colour table or a Scribus colour set), by its
    // suffix otherwise (CSV and CSS have no signature).
    static Detection detect(const QString &path, const QByteArray &bytes);
    // The format that path's suffix names, in the direction asked; nullptr
    // when none does.
    static const PaletteFormat *readerFor(const QString &path);
    static const PaletteFormat *writerFor(const QString &path);
    // The formats read, or written, as dialog filters joined by ";;"; the
    // reading list begins with every readable suffix at once.
    static QString readFilters();
    static QString writeFilters();
    // The suffixes for a message, ".a, .b or .c".
    static QString readSuffixes();
    static QString writeSuffixes();
    // The dialog filter's first suffix: what a name typed without one gets.
    static QString suffixOfFilter(const QString &filter);
};
