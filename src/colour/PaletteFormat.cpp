// SPDX-License-Identifier: MIT
#include "colour/PaletteFormat.h"

#include "colour/ReportText.h"
#include "colour/ZipArchive.h"

#include <QFileInfo>
#include <QXmlStreamReader>

#include <optional>

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

const PaletteFormat *byId(PaletteFormat::Id id)
{
    for (const PaletteFormat &f : PaletteFormat::all()) {
        if (f.id == id)
            return &f;
    }
    return nullptr;
}

// The format the bytes show, or nothing when they have no signature.
std::optional<PaletteFormat::Id> signature(const QByteArray &bytes)
{
    using Id = PaletteFormat::Id;
    const QByteArray text = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3, 64) : bytes.left(64);
    if (text.startsWith("GIMP Palette"))
        return Id::Gimp;
    if (bytes.startsWith("ASEF"))
        return Id::AdobeSwatchExchange;
    // A version word of 1 or 2: no text begins with a zero byte.
    if (bytes.size() >= 4 && bytes[0] == '\0' && (bytes[1] == '\1' || bytes[1] == '\2'))
        return Id::Photoshop;
    if (bytes.startsWith("PK\3\4") || bytes.startsWith("PK\5\6")) {
        const ZipArchive zip(bytes);
        if (zip.has(QStringLiteral("colorset.xml")))
            return Id::Krita;
        if (zip.has(QStringLiteral("swatchbook.xml")))
            return Id::SwatchBooker;
        return std::nullopt;
    }
    if (text.trimmed().startsWith('<')) {
        // The root element, from the first few kilobytes.
        QXmlStreamReader xml(bytes.left(16 * 1024));
        while (!xml.atEnd() && xml.readNext() != QXmlStreamReader::StartElement) {
        }
        if (xml.tokenType() == QXmlStreamReader::StartElement) {
            if (xml.name() == QLatin1String("color-table"))
                return Id::LibreOffice;
            if (xml.name() == QLatin1String("SCRIBUSCOLORS"))
                return Id::Scribus;
        }
    }
    return std::nullopt;
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

PaletteFormat::Detection PaletteFormat::detect(const QString &path, const QByteArray &bytes)
{
    Detection detection;
    detection.named = readerFor(path);
    const std::optional<Id> shown = signature(bytes);
    detection.format = shown ? byId(*shown) : detection.named;
    detection.byContent = shown && detection.format != detection.named;
    return detection;
}

QString PaletteFormat::Detection::note(const QString &path) const
{
    if (!byContent)
        return QString();
    const QString suffix = QFileInfo(path).suffix();
    return named ? QStringLiteral("Read as %1 by its content, though its name ends in .%2 (%3).")
                       .arg(format->name, ReportText::cut(suffix), named->name)
                 : suffix.isEmpty() ? QStringLiteral("Read as %1 by its content; its name has no suffix.").arg(format->name)
                                    : QStringLiteral("Read as %1 by its content; its suffix .%2 names no palette format.")
                                          .arg(format->name, ReportText::cut(suffix));
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
