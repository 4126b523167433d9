// SPDX-License-Identifier: MIT
#include "colour/PaletteWriter.h"

#include "colour/PaletteEntry.h"

#include <QXmlStreamWriter>
#include <QtEndian>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace {

// A name on one line: a line break would end the entry early.
QString oneLine(QString text)
{
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

// Each line's numbers are put together in a small buffer and appended to
// the output at once: a 100,000-colour export appends few times per line.
// These put text at `at` and return where it ends.

// "#rrggbb" in small letters, as the formats write colours.
char *putHex(char *at, QRgb rgb)
{
    static const char digits[] = "0123456789abcdef";
    *at++ = '#';
    for (int value : {qRed(rgb), qGreen(rgb), qBlue(rgb)}) {
        *at++ = digits[value >> 4];
        *at++ = digits[value & 15];
    }
    return at;
}

QString hexName(QRgb rgb)
{
    char text[7];
    putHex(text, rgb);
    return QString::fromLatin1(text, 7);
}

char *putNumber(char *at, int value)
{
    return std::to_chars(at, at + 12, value).ptr;
}

// GIMP's own layout: a number 0 to 255 right-aligned in three columns.
char *putNumber3(char *at, int value)
{
    if (value < 100)
        *at++ = ' ';
    if (value < 10)
        *at++ = ' ';
    return putNumber(at, value);
}

// Two decimals, rounded half away from zero, never "-0.00". Lab values lie
// within a few hundred; anything else is kept within what llround can take.
char *putLab(char *at, double value)
{
    const long long hundredths = std::isfinite(value) ? std::llround(std::clamp(value, -1e9, 1e9) * 100) : 0;
    if (hundredths < 0)
        *at++ = '-';
    const long long magnitude = hundredths < 0 ? -hundredths : hundredths;
    at = std::to_chars(at, at + 20, magnitude / 100).ptr;
    *at++ = '.';
    *at++ = char('0' + magnitude % 100 / 10);
    *at++ = char('0' + magnitude % 10);
    return at;
}

// text in UTF-8. The card's codes are short and ASCII: those are copied
// without the temporary array a conversion makes.
void appendUtf8(QByteArray &out, QStringView text)
{
    char ascii[32];
    if (text.size() <= qsizetype(sizeof ascii)) {
        qsizetype n = 0;
        while (n < text.size() && text[n].unicode() < 0x80) {
            ascii[n] = char(text[n].unicode());
            ++n;
        }
        if (n == text.size()) {
            out.append(ascii, n);
            return;
        }
    }
    out += text.toUtf8();
}

} // namespace

void PaletteWriter::appendCsvField(QByteArray &out, const QString &text)
{
    // One look at each character, not one for each that calls for quotes.
    const auto quoted = [](QChar c) { return c == u',' || c == u'"' || c == u'\r' || c == u'\n'; };
    if (std::none_of(text.cbegin(), text.cend(), quoted)) {
        appendUtf8(out, text);
        return;
    }
    const QByteArray utf8 = text.toUtf8();
    out += '"';
    out += QByteArray(utf8).replace("\"", "\"\"");
    out += '"';
}

namespace {

char *put16(char *at, quint16 value)
{
    qToBigEndian(value, at);
    return at + 2;
}

char *put32(char *at, quint32 value)
{
    qToBigEndian(value, at);
    return at + 4;
}

char *putFloat(char *at, float value)
{
    quint32 bits;
    std::memcpy(&bits, &value, sizeof bits);
    return put32(at, bits);
}

} // namespace

PaletteWriter::Result PaletteWriter::gimp(const QVector<PaletteEntry> &entries, const QString &paletteName,
                                          int columns)
{
    Result result;
    QByteArray &out = result.data;
    out.reserve(64 + entries.size() * 24);
    out += "GIMP Palette\nName: " + oneLine(paletteName).toUtf8() + '\n';
    if (columns > 0)
        out += "Columns: " + QByteArray::number(columns) + '\n';
    out += "#\n";
    for (const PaletteEntry &entry : entries) {
        if (!entry.rgb) {
            ++result.skipped;
            continue;
        }
        char line[16];
        char *at = putNumber3(line, qRed(*entry.rgb));
        *at++ = ' ';
        at = putNumber3(at, qGreen(*entry.rgb));
        *at++ = ' ';
        at = putNumber3(at, qBlue(*entry.rgb));
        *at++ = '\t';
        out.append(line, at - line);
        appendUtf8(out, oneLine(entry.code));
        out += '\n';
    }
    return result;
}

PaletteWriter::Result PaletteWriter::adobeSwatchExchange(const QVector<PaletteEntry> &entries)
{
    // A colour block: type, length, name length, the name in UTF-16 code
    // units with a terminating zero, model, three floats, colour type.
    const auto nameUnits = [](const PaletteEntry &entry) {
        return quint16(std::min<qsizetype>(entry.code.size(), 0xfffe) + 1);
    };
    const auto blockLength = [](quint16 units) { return quint32(2 + 2 * units + 4 + 3 * 4 + 2); };

    Result result;
    quint32 blocks = 0;
    qsizetype size = 12;
    for (const PaletteEntry &entry : entries) {
        if (!entry.rgb) {
            ++result.skipped;
            continue;
        }
        ++blocks;
        size += 6 + blockLength(nameUnits(entry));
    }

    result.data = QByteArray(size, Qt::Uninitialized);
    char *at = result.data.data();
    std::memcpy(at, "ASEF", 4);
    at = put16(at + 4, 1);
    at = put16(at, 0);
    at = put32(at, blocks);
    for (const PaletteEntry &entry : entries) {
        if (!entry.rgb)
            continue;
        const quint16 units = nameUnits(entry);
        at = put16(at, 0x0001);
        at = put32(at, blockLength(units));
        at = put16(at, units);
        for (int i = 0; i < units - 1; ++i)
            at = put16(at, entry.code[i].unicode());
        at = put16(at, 0);
        std::memcpy(at, "RGB ", 4);
        at = putFloat(at + 4, float(qRed(*entry.rgb) / 255.0));
        at = putFloat(at, float(qGreen(*entry.rgb) / 255.0));
        at = putFloat(at, float(qBlue(*entry.rgb) / 255.0));
        // Colour type: 2 is a normal (process) colour.
        at = put16(at, 2);
    }
    return result;
}

PaletteWriter::Result PaletteWriter::csv(const QVector<PaletteEntry> &entries)
{
    Result result;
    QByteArray &out = result.data;
    out.reserve(64 + entries.size() * 56);
    out += "code,hex,r,g,b,lab_l,lab_a,lab_b,page,row\r\n";
    for (const PaletteEntry &entry : entries) {
        appendCsvField(out, entry.code);
        char fields[128];
        char *at = fields;
        *at++ = ',';
        if (entry.rgb) {
            const QRgb rgb = *entry.rgb;
            at = putHex(at, rgb);
            for (int value : {qRed(rgb), qGreen(rgb), qBlue(rgb)}) {
                *at++ = ',';
                at = putNumber(at, value);
            }
            for (double value : {entry.lab.l, entry.lab.a, entry.lab.b}) {
                *at++ = ',';
                at = putLab(at, value);
            }
        } else {
            at = std::copy_n(",,,,,,", 6, at);
        }
        // Page and row: nothing when there is none.
        for (int value : {entry.page, entry.row}) {
            *at++ = ',';
            if (value > 0)
                at = putNumber(at, value);
        }
        *at++ = '\r';
        *at++ = '\n';
        out.append(fields, at - fields);
    }
    return result;
}

QString PaletteWriter::labNumber(double value)
{
    char text[32];
    const char *end = putLab(text, value);
    return QString::fromLatin1(text, end - text);
}

QString PaletteWriter::cssPropertyName(const QString &code)
{
    QString name = QStringLiteral("--color-") + code;
    for (qsizetype i = 8; i < name.size(); ++i) {
        const QChar c = name[i];
        const bool allowed = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')
            || c == u'-' || c == u'_';
        if (!allowed)
            name[i] = u'-';
    }
    return name;
}

PaletteWriter::Result PaletteWriter::css(const QVector<PaletteEntry> &entries)
{
    Result result;
    QByteArray &out = result.data;
    out.reserve(16 + entries.size() * 36);
    out += ":root {\n";
    for (const PaletteEntry &entry : entries) {
        if (!entry.rgb) {
            ++result.skipped;
            continue;
        }
        out += "  ";
        appendUtf8(out, cssPropertyName(entry.code));
        out += ": ";
        char colour[9];
        char *at = putHex(colour, *entry.rgb);
        *at++ = ';';
        *at++ = '\n';
        out.append(colour, at - colour);
    }
    out += "}\n";
    return result;
}

PaletteWriter::Result PaletteWriter::libreOffice(const QVector<PaletteEntry> &entries)
{
    static const QString office = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
    static const QString draw = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:drawing:1.0");
    Result result;
    QXmlStreamWriter xml(&result.data);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument();
    xml.writeNamespace(office, QStringLiteral("office"));
    xml.writeNamespace(draw, QStringLiteral("draw"));
    xml.writeStartElement(office, QStringLiteral("color-table"));
    for (const PaletteEntry &entry : entries) {
        if (!entry.rgb) {
            ++result.skipped;
            continue;
        }
        xml.writeEmptyElement(draw, QStringLiteral("color"));
        xml.writeAttribute(draw, QStringLiteral("name"), entry.code);
        xml.writeAttribute(draw, QStringLiteral("color"), hexName(*entry.rgb));
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return result;
}

PaletteWriter::Result PaletteWriter::scribus(const QVector<PaletteEntry> &entries, const QString &paletteName)
{
    Result result;
    QXmlStreamWriter xml(&result.data);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("SCRIBUSCOLORS"));
    xml.writeAttribute(QStringLiteral("Name"), paletteName);
    for (const PaletteEntry &entry : entries) {
        if (!entry.rgb) {
            ++result.skipped;
            continue;
        }
        xml.writeEmptyElement(QStringLiteral("COLOR"));
        xml.writeAttribute(QStringLiteral("NAME"), entry.code);
        xml.writeAttribute(QStringLiteral("RGB"), hexName(*entry.rgb));
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return result;
}

PaletteWriter::Result PaletteWriter::write(PaletteFormat::Id format, const QVector<PaletteEntry> &entries,
                                           const QString &paletteName)
{
    switch (format) {
    case PaletteFormat::Id::Gimp:
        return gimp(entries, paletteName);
    case PaletteFormat::Id::AdobeSwatchExchange:
        return adobeSwatchExchange(entries);
    case PaletteFormat::Id::Csv:
        return csv(entries);
    case PaletteFormat::Id::Css:
        return css(entries);
    case PaletteFormat::Id::LibreOffice:
        return libreOffice(entries);
    case PaletteFormat::Id::Scribus:
        return scribus(entries, paletteName);
    case PaletteFormat::Id::SwatchBooker:
    case PaletteFormat::Id::Krita:
    case PaletteFormat::Id::Photoshop:
    case PaletteFormat::Id::SwatchSheet:
        break;
    }
    return Result();
}
