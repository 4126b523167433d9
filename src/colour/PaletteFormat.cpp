// SPDX-License-Identifier: MIT
#include "colour/PaletteFormat.h"

#include <QFileInfo>

namespace {

PaletteFormat format(PaletteFormat::Id id, const char *name, QStringList suffixes, bool reads, bool writes)
{
    return PaletteFormat{id, QString::fromUtf8(name), std::move(suffixes), reads, writes};
}

QString suffixWords(bool reading)
{
    QStringList words;
    for (const PaletteFormat &f : PaletteFormat::all()) {
        if (reading ? f.reads : f.writes) {
            for (const QString &suffix : f.suffixes)
                words.append(QLatin1Char('.') + suffix);
        }
    }
    if (words.size() < 2)
        return words.join(QString());
    const QString last = words.takeLast();
    return words.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
}

const PaletteFormat *formatFor(const QString &path, bool reading)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (const PaletteFormat &f : PaletteFormat::all()) {
        if ((reading ? f.reads : f.writes) && f.suffixes.contains(suffix))
            return &f;
    }
    return nullptr;
}

} // namespace

const QVector<PaletteFormat> &PaletteFormat::all()
{
    using L = QStringList;
    static const QVector<PaletteFormat> formats = {
        format(Id::Gimp, "GIMP, Inkscape, Krita, LibreOffice palette", L{"gpl"}, true, true),
        format(Id::AdobeSwatchExchange, "Adobe Swatch Exchange", L{"ase"}, true, true),
        format(Id::Csv, "CSV", L{"csv"}, true, true),
        format(Id::Css, "CSS stylesheet", L{"css"}, true, true),
        format(Id::LibreOffice, "LibreOffice colour table", L{"soc"}, true, true),
        format(Id::Scribus, "Scribus colours", L{"xml"}, true, true),
        format(Id::SwatchBooker, "SwatchBooker", L{"sbz"}, true, false),
        format(Id::Krita, "Krita palette", L{"kpl"}, true, false),
        format(Id::Photoshop, "Photoshop colour swatches", L{"aco"}, true, false),
        // Written by the collection's swatch sheet, not by a palette writer.
        format(Id::SwatchSheet, "Swatch sheet (PDF)", L{"pdf"}, false, true),
    };
    return formats;
}

QString PaletteFormat::filter() const
{
    QStringList patterns;
    for (const QString &suffix : suffixes)
        patterns.append(QStringLiteral("*.") + suffix);
    return QStringLiteral("%1 (%2)").arg(name, patterns.join(QLatin1Char(' ')));
}

const PaletteFormat *PaletteFormat::readerFor(const QString &path)
{
    return formatFor(path, true);
}

const PaletteFormat *PaletteFormat::writerFor(const QString &path)
{
    return formatFor(path, false);
}

QString PaletteFormat::readFilters()
{
    QStringList filters;
    QStringList every;
    for (const PaletteFormat &f : all()) {
        if (!f.reads)
            continue;
        filters.append(f.filter());
        for (const QString &suffix : f.suffixes)
            every.append(QStringLiteral("*.") + suffix);
    }
    filters.prepend(QStringLiteral("Palettes (%1)").arg(every.join(QLatin1Char(' '))));
    return filters.join(QStringLiteral(";;"));
}

QString PaletteFormat::writeFilters()
{
    QStringList filters;
    for (const PaletteFormat &f : all()) {
        if (f.writes)
            filters.append(f.filter());
    }
    return filters.join(QStringLiteral(";;"));
}

QString PaletteFormat::readSuffixes()
{
    return suffixWords(true);
}

QString PaletteFormat::writeSuffixes()
{
    return suffixWords(false);
}

QString PaletteFormat::suffixOfFilter(const QString &filter)
{
    const qsizetype star = filter.indexOf(QLatin1String("(*."));
    if (star < 0)
        return QString();
    const qsizetype start = star + 3;
    qsizetype end = start;
    while (end < filter.size() && filter[end].isLetterOrNumber())
        ++end;
    return filter.mid(start, end - start);
}
