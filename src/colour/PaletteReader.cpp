// SPDX-License-Identifier: MIT
#include "colour/PaletteReader.h"

#include "colour/CssColour.h"
#include "colour/CssStylesheet.h"
#include "colour/IccConversion.h"
#include "colour/PaletteEntry.h"
#include "colour/PaletteFile.h"
#include "colour/PrintColours.h"
#include "colour/ReportText.h"
#include "colour/ZipArchive.h"

#include <QColor>
#include <QHash>
#include <QStringList>
#include <QtEndian>

#include <QVarLengthArray>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <optional>

namespace {

using Result = PaletteReader::Result;

// The file is refused: nothing read from it counts.
void fail(Result &result, const QString &error)
{
    result.error = error;
    result.entries.clear();
}

PaletteEntry entry(const QString &code, QRgb rgb)
{
    PaletteEntry e;
    e.code = code;
    e.rgb = rgb;
    return e;
}

PaletteEntry entry(const QString &code, const PrintColours::Converted &colour)
{
    PaletteEntry e;
    e.code = code;
    e.rgb = colour.rgb;
    e.lab = colour.lab;
    e.labKnown = true;
    return e;
}

void notRead(Result &result, const QString &what)
{
    result.unread.append(what);
    ++result.skipped;
}

// A Lab colour (D50) as an entry.
void addLab(Result &result, const QString &code, double l, double a, double b)
{
    result.add(entry(code, PrintColours::fromLabD50(l, a, b)));
    ++result.lab;
}

QString noCmykProfile()
{
    return QStringLiteral("CMYK, and no CMYK profile is installed (Ghostscript's default_cmyk.icc, "
                          "package libgs-common)");
}

// A CMYK colour (each ink 0 to 1) as an entry, or counted as not read.
void addCmyk(Result &result, const QString &code, const QString &where, double c, double m, double y, double k)
{
    if (const std::optional<PrintColours::Converted> colour = PrintColours::fromCmyk(c, m, y, k)) {
        result.add(entry(code, *colour));
        ++result.cmyk;
    } else
        notRead(result, QStringLiteral("%1: %2").arg(where, noCmykProfile()));
}

QByteArray withoutBom(const QByteArray &data)
{
    return data.startsWith("\xEF\xBB\xBF") ? data.mid(3) : data;
}

// A whole number 0 to 255 written in decimal digits, or -1.
int component(QStringView text)
{
    if (text.isEmpty() || text.size() > 3)
        return -1;
    int value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value <= 255 ? value : -1;
}

// --- GIMP ----------------------------------------------------------------

// Splits off the next run of non-space characters from text.
QStringView nextWord(QStringView &text)
{
    text = text.trimmed();
    qsizetype end = 0;
    while (end < text.size() && !text[end].isSpace())
        ++end;
    const QStringView word = text.left(end);
    text = text.mid(end);
    return word;
}

// --- Adobe Swatch Exchange ---------------------------------------------------

// Big-endian reads that never pass the end of the bytes they were given.
class Bytes
{
public:
    Bytes(const char *data, qsizetype size) : m_data(data), m_size(size) {}

    qsizetype left() const { return m_size - m_at; }
    bool has(qsizetype count) const { return count >= 0 && count <= left(); }
    quint16 u16()
    {
        const quint16 v = qFromBigEndian<quint16>(m_data + m_at);
        m_at += 2;
        return v;
    }
    quint32 u32()
    {
        const quint32 v = qFromBigEndian<quint32>(m_data + m_at);
        m_at += 4;
        return v;
    }
    float f32()
    {
        const quint32 bits = u32();
        float v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
    QByteArray raw(qsizetype count)
    {
        const QByteArray v(m_data + m_at, count);
        m_at += count;
        return v;
    }
    // The next count bytes as bytes of their own; these are passed over.
    Bytes take(qsizetype count)
    {
        const Bytes part(m_data + m_at, count);
        m_at += count;
        return part;
    }

private:
    const char *m_data;
    qsizetype m_size;
    qsizetype m_at = 0;
};

// A colour component stored as 0 to 1.
bool unitComponent(float value, int *out)
{
    if (!std::isfinite(value) || value < -0.001f || value > 1.001f)
        return false;
    *out = std::clamp(int(std::lround(value * 255.0)), 0, 255);
    return true;
}

// --- CSV -----------------------------------------------------------------

// One record of RFC 4180 text, with the line it starts on. Fields are
// views into the text, or into unescaped, for quoted fields whose doubled
// quotes had to be undone.
struct CsvRecord
{
    int line = 0;
    QVarLengthArray<QStringView, 12> fields;
    QStringList unescaped;
};

// The records of RFC 4180 text, read one at a time, so that a large file is
// never held twice.
class CsvRecords
{
public:
    explicit CsvRecords(QStringView text) : m_text(text), m_chars(text.utf16()) {}

    // The next record, blank lines passed over; false at the end of the
    // text, or when the text is damaged (error() says where).
    bool next(CsvRecord *record)
    {
        while (m_at < m_text.size()) {
            if (!read(record))
                return false;
            if (!(record->fields.size() == 1 && record->fields[0].isEmpty()))
                return true;
        }
        return false;
    }
    QString error() const { return m_error; }

private:
    bool endsField(qsizetype at) const
    {
        return at >= m_text.size() || m_chars[at] == u',' || m_chars[at] == u'\r' || m_chars[at] == u'\n';
    }

    bool fail(const QString &error)
    {
        m_error = error;
        m_at = m_text.size();
        return false;
    }

    bool read(CsvRecord *record)
    {
        const qsizetype n = m_text.size();
        const char16_t *text = m_chars;
        qsizetype &i = m_at;
        record->line = m_line;
        record->fields.clear();
        record->unescaped.clear();
        for (;;) {
            QStringView field;
            if (i < n && text[i] == u'"') {
                const int quoteLine = m_line;
                const qsizetype start = ++i;
                bool doubled = false;
                for (;;) {
                    if (i >= n)
                        return fail(QStringLiteral("Line %1: a quoted field is not closed.").arg(quoteLine));
                    const char16_t c = text[i++];
                    if (c == u'"') {
                        if (i < n && text[i] == u'"') {
                            doubled = true;
                            ++i;
                        } else {
                            break;
                        }
                    } else if (c == u'\n') {
                        ++m_line;
                    }
                }
                field = m_text.mid(start, i - 1 - start);
                if (doubled) {
                    record->unescaped.append(field.toString().replace(QStringLiteral("\"\""), QStringLiteral("\"")));
                    field = record->unescaped.last();
                }
                if (!endsField(i))
                    return fail(QStringLiteral("Line %1: text follows a quoted field.").arg(m_line));
            } else {
                const qsizetype start = i;
                while (!endsField(i)) {
                    if (text[i] == u'"')
                        return fail(QStringLiteral("Line %1: a quote inside a field that is not quoted.").arg(m_line));
                    ++i;
                }
                field = m_text.mid(start, i - start);
            }
            record->fields.append(field);
            if (i < n && text[i] == u',') {
                ++i;
                continue;
            }
            // The end of the record: CRLF, LF or the end of the text.
            if (i < n && text[i] == u'\r')
                ++i;
            if (i < n && text[i] == u'\n')
                ++i;
            ++m_line;
            return true;
        }
    }

    QStringView m_text;
    const char16_t *m_chars;
    qsizetype m_at = 0;
    int m_line = 1;
    QString m_error;
};

int optionalCount(QStringView text, bool *ok)
{
    text = text.trimmed();
    *ok = text.size() <= 9 && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    int value = 0;
    for (QChar c : text)
        value = value * 10 + (c.unicode() - u'0');
    return *ok ? value : 0;
}

} // namespace

void PaletteReader::gimpInto(const QByteArray &data, Result &result)
{
    const QString text = QString::fromUtf8(withoutBom(data));
    // Line by line as views of the text: a list of the lines would hold a
    // large palette twice.
    const QStringView all(text);
    qsizetype at = 0;
    const auto nextLine = [&] {
        const qsizetype end = all.indexOf(u'\n', at);
        QStringView line = all.mid(at, (end < 0 ? all.size() : end) - at);
        at = end < 0 ? all.size() + 1 : end + 1;
        if (line.endsWith(u'\r'))
            line.chop(1);
        return line;
    };
    if (nextLine().trimmed() != QLatin1String("GIMP Palette"))
        return fail(result, QStringLiteral("This is not a GIMP palette: its first line is not \u201cGIMP Palette\u201d."));

    for (int number = 2; at <= all.size(); ++number) {
        if (result.stop())
            return;
        const QStringView line = nextLine();
        const QStringView trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#') || line.startsWith(QLatin1String("Name:"))
            || line.startsWith(QLatin1String("Columns:")))
            continue;
        QStringView rest = line;
        QStringView bad;
        int rgb[3];
        for (int &value : rgb) {
            const QStringView word = nextWord(rest);
            value = component(word);
            if (value < 0) {
                bad = word.isEmpty() ? trimmed : word;
                break;
            }
        }
        // A line that is no colour is one colour not read; the rest is read.
        if (!bad.isNull()) {
            notRead(result, QStringLiteral("line %1: a colour is three numbers from 0 to 255, then its name; "
                                           "\u201c%2\u201d is not").arg(number).arg(ReportText::cut(bad)));
            continue;
        }
        result.add(entry(rest.trimmed().toString(), qRgb(rgb[0], rgb[1], rgb[2])));
    }
}

void PaletteReader::adobeSwatchExchangeInto(const QByteArray &data, Result &result)
{
    Bytes bytes(data.constData(), data.size());
    if (!bytes.has(12) || bytes.raw(4) != "ASEF")
        return fail(result, QStringLiteral("This is not an Adobe swatch exchange file: it does not begin with ASEF."));
    const quint16 major = bytes.u16();
    bytes.u16();
    if (major != 1)
        return fail(result, QStringLiteral("Adobe swatch exchange version %1 is not known; version 1 is.").arg(major));
    const quint32 blockCount = bytes.u32();

    // A colour block takes at least 22 bytes: a count larger than the file
    // can hold must not decide the allocation.
    if (!result.m_reading.take)
        result.entries.reserve(int(std::min<qint64>(blockCount, bytes.left() / 22)));
    for (quint32 blockNumber = 1; blockNumber <= blockCount; ++blockNumber) {
        if (result.stop())
            return;
        if (!bytes.has(6))
            return fail(result, QStringLiteral("The file ends at block %1 of the %2 it announces.")
                               .arg(blockNumber).arg(blockCount));
        const quint16 type = bytes.u16();
        const quint32 length = bytes.u32();
        if (!bytes.has(qint64(length)))
            return fail(result, QStringLiteral("Block %1 is %2 bytes long, more than the %3 bytes left in the file.")
                               .arg(blockNumber).arg(length).arg(bytes.left()));
        Bytes block = bytes.take(length);
        // Group starts and ends, and blocks of kinds not known, are passed over.
        if (type != 0x0001)
            continue;

        const QString broken = QStringLiteral("Colour block %1 is damaged: %2.").arg(blockNumber);
        if (!block.has(2))
            return fail(result, broken.arg(QStringLiteral("it has no name length")));
        const quint16 units = block.u16();
        if (!block.has(2 * qint64(units) + 4))
            return fail(result, broken.arg(QStringLiteral("its name and colour model do not fit in it")));
        QString name;
        name.reserve(units);
        for (quint16 u = 0; u < units; ++u)
            name += QChar(block.u16());
        // The name's length counts its terminating zero.
        if (name.endsWith(QChar(0)))
            name.chop(1);
        const QByteArray model = block.raw(4);
        int components = 0;
        if (model == "RGB ")
            components = 3;
        else if (model == "Gray")
            components = 1;
        else if (model == "CMYK")
            components = 4;
        else if (model == "LAB ")
            components = 3;
        const QString where = QStringLiteral("block %1 \u201c%2\u201d").arg(blockNumber).arg(ReportText::cut(name));
        if (components == 0) {
            notRead(result, QStringLiteral("%1: colour model \u201c%2\u201d is not known")
                                .arg(where, QString::fromLatin1(model).trimmed().toHtmlEscaped()));
            continue;
        }
        if (!block.has(4 * components + 2))
            return fail(result, broken.arg(QStringLiteral("its colour values do not fit in it")));
        float raw[4];
        for (int c = 0; c < components; ++c) {
            raw[c] = block.f32();
            if (!std::isfinite(raw[c]))
                return fail(result, broken.arg(model == "LAB " ? QStringLiteral("a colour value is not a number")
                                                          : QStringLiteral("a colour value is not between 0 and 1")));
        }
        if (model == "LAB ") {
            // L* is stored 0 to 1, a* and b* as they are.
            addLab(result, name, raw[0] * 100.0, raw[1], raw[2]);
            continue;
        }
        int value[4];
        for (int c = 0; c < components; ++c) {
            if (!unitComponent(raw[c], &value[c]))
                return fail(result, broken.arg(QStringLiteral("a colour value is not between 0 and 1")));
        }
        if (model == "CMYK") {
            addCmyk(result, name, where, raw[0], raw[1], raw[2], raw[3]);
            continue;
        }
        if (components == 1)
            value[1] = value[2] = value[0];
        result.add(entry(name, qRgb(value[0], value[1], value[2])));
    }
    return;
}

void PaletteReader::csvInto(const QByteArray &data, Result &result)
{
    const QString text = QString::fromUtf8(withoutBom(data));
    CsvRecords records(text);
    CsvRecord headerRecord;
    if (!records.next(&headerRecord)) {
        return fail(result, records.error().isEmpty()
                           ? QStringLiteral("The file is empty: it has not even a header line.")
                           : records.error());
    }

    QHash<QString, int> columns;
    const auto &header = headerRecord.fields;
    for (int i = 0; i < header.size(); ++i)
        columns.insert(header[i].trimmed().toString().toLower(), i);
    const auto column = [&](const char *name) { return columns.value(QLatin1String(name), -1); };
    const int code = column("code");
    const int hex = column("hex");
    const int red = column("r"), green = column("g"), blue = column("b");
    const int page = column("page"), row = column("row");
    const bool hasRgb = red >= 0 && green >= 0 && blue >= 0;
    if (code < 0 || (hex < 0 && !hasRgb))
        return fail(result, QStringLiteral("The header line names no \u201ccode\u201d column, or neither a "
                                      "\u201chex\u201d column nor \u201cr\u201d, \u201cg\u201d and \u201cb\u201d."));

    // Records are about a line each.
    if (!result.m_reading.take) {
        qsizetype lines = 0;
        for (const char *at = data.cbegin(), *end = data.cend();
             (at = static_cast<const char *>(std::memchr(at, '\n', size_t(end - at)))) != nullptr; ++at)
            ++lines;
        result.entries.reserve(lines);
    }
    CsvRecord record;
    while (records.next(&record)) {
        if (result.stop())
            return;
        // A record that is no colour is one colour not read; the rest is read.
        if (record.fields.size() != header.size()) {
            notRead(result, QStringLiteral("line %1: it has %2 fields; the header has %3")
                                .arg(record.line).arg(record.fields.size()).arg(header.size()));
            continue;
        }
        PaletteEntry e;
        // Spaces belong to a field (RFC 4180): a code is kept as written.
        e.code = record.fields[code].toString();
        const QString where = QStringLiteral("line %1 \u201c%2\u201d").arg(record.line).arg(ReportText::cut(e.code));
        const QStringView hexText = hex >= 0 ? record.fields[hex].trimmed() : QStringView();
        if (!hexText.isEmpty()) {
            const QStringView digits = hexText.mid(hexText.startsWith(u'#') ? 1 : 0);
            const bool ok = digits.size() == 6 && std::all_of(digits.begin(), digits.end(), [](QChar c) {
                return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
            });
            if (!ok) {
                notRead(result, QStringLiteral("%1: \u201c%2\u201d is not a colour #rrggbb").arg(where, ReportText::cut(hexText)));
                continue;
            }
            // Six hexadecimal digits, checked above.
            uint value = 0;
            for (QChar c : digits) {
                const char16_t u = c.unicode();
                value = value * 16 + (u <= u'9' ? u - u'0' : (u | 0x20) - u'a' + 10);
            }
            e.rgb = 0xff000000u | value;
        } else if (hasRgb) {
            const QStringView r = record.fields[red].trimmed(), g = record.fields[green].trimmed(),
                          b = record.fields[blue].trimmed();
            if (!(r.isEmpty() && g.isEmpty() && b.isEmpty())) {
                const int rv = component(r), gv = component(g), bv = component(b);
                if (rv < 0 || gv < 0 || bv < 0) {
                    notRead(result, where + QStringLiteral(": r, g and b are each a whole number from 0 to 255"));
                    continue;
                }
                e.rgb = qRgb(rv, gv, bv);
            }
        }
        bool pageOk = true, rowOk = true;
        e.page = page >= 0 ? optionalCount(record.fields[page], &pageOk) : 0;
        e.row = row >= 0 ? optionalCount(record.fields[row], &rowOk) : 0;
        if (!pageOk || !rowOk) {
            notRead(result, where + QStringLiteral(": page and row are whole numbers"));
            continue;
        }
        result.add(e);
    }
    if (!records.error().isEmpty())
        return fail(result, records.error());
    return;
}

namespace {

// "#rrggbb" (any case) as a colour.
std::optional<QRgb> hexColour(QStringView text)
{
    text = text.trimmed();
    if (text.size() != 7 || text[0] != u'#')
        return std::nullopt;
    bool ok = false;
    const uint value = text.mid(1).toUInt(&ok, 16);
    return ok ? std::optional<QRgb>(0xff000000u | value) : std::nullopt;
}

double number(const QXmlStreamAttributes &attributes, QLatin1String name, bool *ok)
{
    bool read = false;
    const double value = attributes.value(name).toDouble(&read);
    *ok = *ok && read && std::isfinite(value);
    return value;
}

QString xmlFailure(const QXmlStreamReader &xml)
{
    return QStringLiteral("Line %1: the XML is damaged: %2").arg(xml.lineNumber()).arg(xml.errorString());
}

} // namespace

namespace {

// Properties whose value takes a colour by its name; a name elsewhere (an
// animation called "tomato", a font "Red Hat") is not a colour.
bool takesNamedColour(const QString &property)
{
    static const QStringList prefixes = {"background", "border", "outline", "box-shadow", "text-shadow",
                                         "text-decoration", "text-emphasis", "column-rule", "fill", "stroke",
                                         "filter", "scrollbar", "-webkit-text", "mask", "list-style"};
    const QString name = property.toLower();
    return name.contains(QLatin1String("color"))
        || std::any_of(prefixes.begin(), prefixes.end(), [&](const QString &p) { return name.startsWith(p); });
}

// The row's name: the custom property (the program's own --color-K8-04-43
// back as K8.04.43), or the selector and the property.
QString cssRowName(const CssStylesheet::Declaration &d)
{
    const QLatin1String prefix("--color-");
    if (d.property.startsWith(prefix))
        return d.property.mid(prefix.size()).replace(u'-', u'.');
    if (d.property.startsWith(QLatin1String("--")))
        return d.property;
    return d.selector + u' ' + d.property;
}

} // namespace

void PaletteReader::cssInto(const QByteArray &data, Result &result)
{
    const QString text = QString::fromUtf8(withoutBom(data));
    const CssStylesheet sheet(text, result.m_reading.cancel);
    for (const CssStylesheet::Declaration &d : sheet.declarations()) {
        if (result.stop())
            return;
        const QString name = cssRowName(d);
        const QString where = QStringLiteral("line %1 \u201c%2\u201d").arg(d.line).arg(ReportText::cut(name));
        QString why;
        const QString value = sheet.resolved(d.value, &why);
        if (!why.isEmpty()) {
            notRead(result, QStringLiteral("%1: %2").arg(where, why));
            continue;
        }
        const QVector<CssToken> tokens = CssColour::tokens(value);
        const bool custom = d.property.startsWith(QLatin1String("--"));
        // A custom property is a named colour only when that is all it holds.
        int meaningful = 0;
        for (const CssToken &t : tokens)
            meaningful += t.type != CssToken::Type::Space;
        const bool namesAllowed = custom ? meaningful == 1 : takesNamedColour(d.property);
        // Each colour of a shorthand or a gradient once.
        QStringList seen;
        for (qsizetype i = 0; i < tokens.size(); ++i) {
            const CssToken &t = tokens.at(i);
            std::optional<CssColour> colour;
            qsizetype last = i;
            if (t.type == CssToken::Type::Hash) {
                colour = CssColour::fromHash(t.text);
            } else if (t.type == CssToken::Type::Function && CssColour::isColourFunction(t.text)) {
                int nested = 1;
                for (last = i + 1; last < tokens.size(); ++last) {
                    const CssToken::Type type = tokens.at(last).type;
                    if (type == CssToken::Type::Function || type == CssToken::Type::Open)
                        ++nested;
                    else if (type == CssToken::Type::Close && --nested == 0)
                        break;
                }
                const bool closed = last < tokens.size();
                colour = CssColour::fromFunction(t.text, tokens, i + 1, closed ? last : tokens.size(), closed);
            } else if (t.type == CssToken::Type::Ident && namesAllowed) {
                if (const std::optional<QRgb> rgb = CssColour::named(t.text)) {
                    colour = CssColour();
                    colour->kind = CssColour::Kind::Colour;
                    colour->rgb = *rgb;
                }
            }
            if (!colour)
                continue;
            const QString written = value.mid(t.start, tokens.at(std::min(last, tokens.size() - 1)).end - t.start);
            i = last;
            if (seen.contains(written))
                continue;
            seen.append(written);
            if (colour->kind == CssColour::Kind::Malformed) {
                notRead(result, QStringLiteral("%1: %2").arg(where, colour->why));
                continue;
            }
            PaletteEntry e = entry(name, colour->rgb);
            if (colour->lab) {
                e.lab = *colour->lab;
                e.labKnown = true;
            }
            result.add(e);
            result.lab += colour->fromLab;
            result.outsideSrgb += colour->outsideSrgb;
            result.translucent += colour->alpha < 1;
        }
    }
    return;
}

void PaletteReader::libreOfficeInto(const QByteArray &data, Result &result)
{
    QXmlStreamReader xml(data);
    bool table = false;
    while (!xml.atEnd() && !result.stop()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("color-table")) {
            table = true;
            continue;
        }
        if (xml.name() != QLatin1String("color"))
            continue;
        // The namespaces changed between versions: attributes are found by
        // their local names.
        QString name;
        QStringView colour;
        for (const QXmlStreamAttribute &a : xml.attributes()) {
            if (a.name() == QLatin1String("name"))
                name = a.value().toString();
            else if (a.name() == QLatin1String("color"))
                colour = a.value();
        }
        const std::optional<QRgb> rgb = hexColour(colour);
        if (rgb)
            result.add(entry(name, *rgb));
        else
            notRead(result, QStringLiteral("line %1 \u201c%2\u201d: no colour #rrggbb").arg(xml.lineNumber()).arg(ReportText::cut(name)));
    }
    if (xml.hasError())
        return fail(result, xmlFailure(xml));
    if (!table)
        return fail(result, QStringLiteral("This is not a LibreOffice colour table: it has no color-table element."));
    return;
}

void PaletteReader::scribusInto(const QByteArray &data, Result &result)
{
    QXmlStreamReader xml(data);
    bool set = false;
    while (!xml.atEnd() && !result.stop()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("SCRIBUSCOLORS")) {
            set = true;
            continue;
        }
        if (xml.name() != QLatin1String("COLOR"))
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        const QString name = a.value(QLatin1String("NAME")).toString();
        const QString where = QStringLiteral("line %1 \u201c%2\u201d").arg(xml.lineNumber()).arg(ReportText::cut(name));
        const QStringView space = a.value(QLatin1String("SPACE"));
        bool ok = true;
        if (space == QLatin1String("Lab")) {
            const double l = number(a, QLatin1String("L"), &ok), aa = number(a, QLatin1String("A"), &ok),
                         b = number(a, QLatin1String("B"), &ok);
            if (ok)
                addLab(result, name, l, aa, b);
            else
                notRead(result, where + QStringLiteral(": Lab without its L, A and B values"));
            continue;
        }
        if (space == QLatin1String("CMYK") && a.hasAttribute(QLatin1String("C"))) {
            const double c = number(a, QLatin1String("C"), &ok), m = number(a, QLatin1String("M"), &ok),
                         y = number(a, QLatin1String("Y"), &ok), k = number(a, QLatin1String("K"), &ok);
            if (ok)
                addCmyk(result, name, where, c / 100, m / 100, y / 100, k / 100);
            else
                notRead(result, where + QStringLiteral(": CMYK values that are not numbers"));
            continue;
        }
        if (space == QLatin1String("RGB") && a.hasAttribute(QLatin1String("R"))) {
            const double r = number(a, QLatin1String("R"), &ok), g = number(a, QLatin1String("G"), &ok),
                         b = number(a, QLatin1String("B"), &ok);
            if (ok)
                result.add(entry(name, qRgb(std::clamp(int(std::lround(r)), 0, 255),
                                                       std::clamp(int(std::lround(g)), 0, 255),
                                                       std::clamp(int(std::lround(b)), 0, 255))));
            else
                notRead(result, where + QStringLiteral(": RGB values that are not numbers"));
            continue;
        }
        if (space != QLatin1String("CMYK") && a.hasAttribute(QLatin1String("RGB"))) {
            if (const std::optional<QRgb> rgb = hexColour(a.value(QLatin1String("RGB"))))
                result.add(entry(name, *rgb));
            else
                notRead(result, where + QStringLiteral(": RGB is not #rrggbb"));
            continue;
        }
        if (a.hasAttribute(QLatin1String("CMYK"))) {
            // "#ccmmyykk", each ink 0 to 255.
            const QStringView text = a.value(QLatin1String("CMYK")).trimmed();
            bool hexOk = text.size() == 9 && text[0] == u'#';
            const uint value = hexOk ? text.mid(1).toUInt(&hexOk, 16) : 0;
            if (hexOk)
                addCmyk(result, name, where, ((value >> 24) & 255) / 255.0, ((value >> 16) & 255) / 255.0,
                        ((value >> 8) & 255) / 255.0, (value & 255) / 255.0);
            else
                notRead(result, where + QStringLiteral(": CMYK is not #ccmmyykk"));
            continue;
        }
        notRead(result, where + QStringLiteral(": no colour in RGB, CMYK or Lab"));
    }
    if (xml.hasError())
        return fail(result, xmlFailure(xml));
    if (!set)
        return fail(result, QStringLiteral("This is not a Scribus colour set: it has no SCRIBUSCOLORS element."));
    return;
}

namespace {

// Up to four numbers separated by spaces.
int numbers(QStringView text, double out[4])
{
    int n = 0;
    for (QStringView word : text.split(u' ', Qt::SkipEmptyParts)) {
        bool ok = false;
        const double v = word.toDouble(&ok);
        if (!ok || !std::isfinite(v) || n == 4)
            return -1;
        out[n++] = v;
    }
    return n;
}

} // namespace

void PaletteReader::swatchBookerInto(const QByteArray &data, Result &result)
{
    ZipArchive zip(data);
    const QByteArray xmlBytes = zip.file(QStringLiteral("swatchbook.xml"), PaletteFile::maxSize);
    if (xmlBytes.isEmpty())
        return fail(result, QStringLiteral("This is not a SwatchBooker file: %1.").arg(zip.error()));
    QXmlStreamReader xml(xmlBytes);
    int colourNumber = 0;
    bool inColour = false;
    QString identifier, title, where;
    bool taken = false;
    QStringList models;
    const auto finish = [&] {
        if (!taken)
            notRead(result, QStringLiteral("%1: no values in a model read (%2)")
                                .arg(where, models.isEmpty() ? QStringLiteral("none") : ReportText::cut(models.join(QStringLiteral(", ")))));
    };
    while (!xml.atEnd() && !result.stop()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && inColour && xml.name() == QLatin1String("color")) {
            finish();
            inColour = false;
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("color") && !inColour) {
            inColour = true;
            taken = false;
            identifier.clear();
            title.clear();
            models.clear();
            where = QStringLiteral("colour %1 (line %2)").arg(++colourNumber).arg(xml.lineNumber());
            continue;
        }
        if (!inColour)
            continue;
        if (xml.name() == QLatin1String("identifier")) {
            identifier = xml.readElementText().trimmed();
        } else if (xml.name() == QLatin1String("title") && title.isEmpty()) {
            title = xml.readElementText().trimmed();
        } else if (xml.name() == QLatin1String("values") && !taken) {
            const QString model = xml.attributes().value(QLatin1String("model")).toString();
            double v[4];
            const int n = numbers(xml.readElementText(), v);
            const QString name = title.isEmpty() ? identifier : title;
            where = QStringLiteral("colour %1 \u201c%2\u201d").arg(colourNumber).arg(ReportText::cut(name));
            models.append(ReportText::cut(model));
            const auto unit = [](double x) { return std::clamp(int(std::lround(x * 255.0)), 0, 255); };
            if ((model == QLatin1String("RGB") || model == QLatin1String("sRGB")) && n == 3) {
                result.add(entry(name, qRgb(unit(v[0]), unit(v[1]), unit(v[2]))));
                taken = true;
            } else if (model == QLatin1String("Lab") && n == 3) {
                addLab(result, name, v[0], v[1], v[2]);
                taken = true;
            } else if (model == QLatin1String("GRAY") && n == 1) {
                // SwatchBooker's grey is an amount of black ink.
                const int g = unit(1.0 - v[0]);
                result.add(entry(name, qRgb(g, g, g)));
                taken = true;
            } else if (model == QLatin1String("CMYK") && n == 4 && PrintColours::fromCmyk(0, 0, 0, 0)) {
                addCmyk(result, name, where, v[0], v[1], v[2], v[3]);
                taken = true;
            } else if (model == QLatin1String("CMYK") && n == 4) {
                models.last() = noCmykProfile();
            }
        }
    }
    if (inColour)
        finish();
    if (xml.hasError())
        return fail(result, QStringLiteral("swatchbook.xml: ") + xmlFailure(xml));
    return;
}

namespace {

// The profiles a Krita palette carries (profiles.xml: each profile's name,
// as colour entries give it in "space", and its member in the archive),
// opened as entries ask for them. A palette without profiles.xml names
// none.
class KritaProfiles
{
public:
    explicit KritaProfiles(ZipArchive &zip)
        : m_zip(zip)
    {
        const QByteArray list = zip.file(QStringLiteral("profiles.xml"), PaletteFile::maxSize);
        QXmlStreamReader xml(list);
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("Profile")) {
                const QXmlStreamAttributes a = xml.attributes();
                m_files.insert(a.value(QLatin1String("name")).toString(), a.value(QLatin1String("filename")).toString());
            }
        }
    }

    bool names(const QString &space) const { return m_files.contains(space); }

    // The conversion through the profile named space; null when the
    // palette does not carry it or it cannot be read.
    const IccConversion *conversion(const QString &space)
    {
        // By the member: spaces that all name one profile open it once.
        const QString file = m_files.value(space);
        auto found = m_open.find(file);
        if (found == m_open.end()) {
            auto opened = std::make_shared<IccConversion>(file.isEmpty() ? QByteArray() : m_zip.file(file, PaletteFile::maxSize));
            found = m_open.insert(file, opened->channels() ? opened : nullptr);
        }
        return found->get();
    }

private:
    ZipArchive &m_zip;
    QHash<QString, QString> m_files;
    QHash<QString, std::shared_ptr<IccConversion>> m_open;  // by member
};

} // namespace

void PaletteReader::kritaInto(const QByteArray &data, Result &result)
{
    ZipArchive zip(data);
    const QByteArray xmlBytes = zip.file(QStringLiteral("colorset.xml"), PaletteFile::maxSize);
    if (xmlBytes.isEmpty())
        return fail(result, QStringLiteral("This is not a Krita palette: %1.").arg(zip.error()));
    KritaProfiles profiles(zip);
    QXmlStreamReader xml(xmlBytes);
    int entryNumber = 0;
    bool inEntry = false;
    bool taken = false;
    QString name, where;
    while (!xml.atEnd() && !result.stop()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && xml.name() == QLatin1String("ColorSetEntry")) {
            if (!taken)
                notRead(result, where + QStringLiteral(": no colour in RGB, CMYK, Lab or grey"));
            inEntry = false;
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.name() == QLatin1String("ColorSetEntry")) {
            inEntry = true;
            taken = false;
            name = a.value(QLatin1String("name")).toString();
            where = QStringLiteral("entry %1 \u201c%2\u201d").arg(++entryNumber).arg(ReportText::cut(name));
            continue;
        }
        if (!inEntry || taken)
            continue;
        bool ok = true;
        const auto unit = [](double x) { return std::clamp(int(std::lround(x * 255.0)), 0, 255); };
        // RGB and grey through the profile the palette carries for them
        // (Krita keeps a colour in its own profile, linear light too); as
        // sRGB when it names none (Krita's built-in profiles).
        const bool rgb = xml.name() == QLatin1String("RGB") || xml.name() == QLatin1String("sRGB");
        if (rgb || xml.name() == QLatin1String("Gray")) {
            static const QLatin1String rgbNames[] = {QLatin1String("r"), QLatin1String("g"), QLatin1String("b")};
            double v[3];
            const int n = rgb ? 3 : 1;
            for (int i = 0; i < n; ++i)
                v[i] = number(a, rgb ? rgbNames[i] : QLatin1String("g"), &ok);
            if (!ok)
                continue;
            const QString space = a.value(QLatin1String("space")).toString();
            if (!profiles.names(space)) {
                result.add(rgb ? entry(name, qRgb(unit(v[0]), unit(v[1]), unit(v[2])))
                                          : entry(name, qRgb(unit(v[0]), unit(v[0]), unit(v[0]))));
            } else if (const IccConversion *conversion = profiles.conversion(space);
                       conversion && conversion->channels() == n) {
                result.add(entry(name, *conversion->convert(v, n)));
            } else {
                notRead(result, QStringLiteral("%1: its profile \u201c%2\u201d cannot be read as %3")
                                    .arg(where, ReportText::cut(space), rgb ? QStringLiteral("RGB") : QStringLiteral("grey")));
            }
            taken = true;
            continue;
        } else if (xml.name() == QLatin1String("Lab")) {
            const double l = number(a, QLatin1String("L"), &ok), aa = number(a, QLatin1String("a"), &ok),
                         b = number(a, QLatin1String("b"), &ok);
            if (ok)
                addLab(result, name, l, aa, b);
        } else if (xml.name() == QLatin1String("CMYK")) {
            const double c = number(a, QLatin1String("c"), &ok), m = number(a, QLatin1String("m"), &ok),
                         y = number(a, QLatin1String("y"), &ok), k = number(a, QLatin1String("k"), &ok);
            if (ok) {
                addCmyk(result, name, where, c, m, y, k);
                taken = true;
                continue;
            }
        } else {
            continue;
        }
        if (ok)
            taken = true;
    }
    if (xml.hasError())
        return fail(result, QStringLiteral("colorset.xml: ") + xmlFailure(xml));
    return;
}

void PaletteReader::photoshopInto(const QByteArray &data, Result &result)
{
    Bytes bytes(data.constData(), data.size());
    if (!bytes.has(4))
        return fail(result, QStringLiteral("This is not a Photoshop colour swatch file: it is too short."));
    quint16 version = bytes.u16();
    if (version != 1 && version != 2)
        return fail(result, QStringLiteral("This is not a Photoshop colour swatch file: version %1 is not 1 or 2.").arg(version));
    quint16 count = bytes.u16();
    // Version 1 has no names; a version 2 section that follows has the
    // same colours with names, and is the one read.
    if (version == 1) {
        if (!bytes.has(10 * qint64(count)))
            return fail(result, QStringLiteral("The version 1 section announces %1 colours but the file ends before them.").arg(count));
        bytes.take(10 * qint64(count));
        if (bytes.has(4)) {
            Bytes peek = bytes;
            if (peek.u16() == 2) {
                version = bytes.u16();
                count = bytes.u16();
            }
        }
    }
    if (version == 1) {
        bytes = Bytes(data.constData(), data.size());
        bytes.take(4);
    }
    for (int i = 1; i <= count; ++i) {
        if (result.stop())
            return;
        if (!bytes.has(10))
            return fail(result, QStringLiteral("The file ends at colour %1 of the %2 it announces.").arg(i).arg(count));
        const quint16 space = bytes.u16();
        const quint16 w = bytes.u16(), x = bytes.u16(), y = bytes.u16(), z = bytes.u16();
        QString name;
        if (version == 2) {
            if (!bytes.has(4))
                return fail(result, QStringLiteral("Colour %1 is damaged: it has no name length.").arg(i));
            const quint32 units = bytes.u32();
            if (!bytes.has(2 * qint64(units)))
                return fail(result, QStringLiteral("Colour %1 is damaged: its name does not fit in the file.").arg(i));
            name.reserve(int(units));
            for (quint32 u = 0; u < units; ++u)
                name += QChar(bytes.u16());
            if (name.endsWith(QChar(0)))
                name.chop(1);
        }
        const QString where = QStringLiteral("colour %1 \u201c%2\u201d").arg(i).arg(ReportText::cut(name));
        switch (space) {
        case 0:  // RGB, 0 to 65535
            result.add(entry(name, qRgb(w >> 8, x >> 8, y >> 8)));
            break;
        case 1:  // HSB, 0 to 65535
            result.add(entry(name, QColor::fromHsvF(w / 65536.0f, x / 65535.0f, y / 65535.0f).rgb()));
            break;
        case 2:  // CMYK, 0 is full ink
            addCmyk(result, name, where, 1 - w / 65535.0, 1 - x / 65535.0, 1 - y / 65535.0, 1 - z / 65535.0);
            break;
        case 7:  // Lab: L* 0 to 10000, a* and b* -12800 to 12700
            addLab(result, name, w / 100.0, qint16(x) / 100.0, qint16(y) / 100.0);
            break;
        case 8: {  // grey: 0 to 10000 of black
            const int g = std::clamp(int(std::lround(255.0 * (1.0 - w / 10000.0))), 0, 255);
            result.add(entry(name, qRgb(g, g, g)));
            break;
        }
        default:
            notRead(result, QStringLiteral("%1: colour space %2 (a colour book or a model not read)").arg(where).arg(space));
            break;
        }
    }
    return;
}

Result PaletteReader::read(PaletteFormat::Id format, const QByteArray &data, const Reading &reading)
{
    Result result;
    result.m_reading = reading;
    readAs(format, data, result);
    if (result.cancelled)
        fail(result, QStringLiteral("The reading was cancelled."));
    // A format with a structure of its own that holds no colour says the
    // palette is empty; a CSV, a stylesheet or a SwatchBooker file that
    // yields none may only have been looked at wrongly.
    static const PaletteFormat::Id structured[] = {PaletteFormat::Id::Gimp, PaletteFormat::Id::AdobeSwatchExchange,
                                                   PaletteFormat::Id::LibreOffice, PaletteFormat::Id::Scribus,
                                                   PaletteFormat::Id::Krita, PaletteFormat::Id::Photoshop};
    result.saysEmpty = result.ok() && result.read == 0 && result.skipped == 0
        && std::find(std::begin(structured), std::end(structured), format) != std::end(structured);
    return result;
}

Result PaletteReader::read(PaletteFormat::Id format, const QByteArray &data)
{
    return read(format, data, Reading());
}

Result PaletteReader::gimp(const QByteArray &data)
{
    return read(PaletteFormat::Id::Gimp, data);
}

Result PaletteReader::adobeSwatchExchange(const QByteArray &data)
{
    return read(PaletteFormat::Id::AdobeSwatchExchange, data);
}

Result PaletteReader::csv(const QByteArray &data)
{
    return read(PaletteFormat::Id::Csv, data);
}

Result PaletteReader::css(const QByteArray &data)
{
    return read(PaletteFormat::Id::Css, data);
}

Result PaletteReader::libreOffice(const QByteArray &data)
{
    return read(PaletteFormat::Id::LibreOffice, data);
}

Result PaletteReader::scribus(const QByteArray &data)
{
    return read(PaletteFormat::Id::Scribus, data);
}

Result PaletteReader::swatchBooker(const QByteArray &data)
{
    return read(PaletteFormat::Id::SwatchBooker, data);
}

Result PaletteReader::krita(const QByteArray &data)
{
    return read(PaletteFormat::Id::Krita, data);
}

Result PaletteReader::photoshop(const QByteArray &data)
{
    return read(PaletteFormat::Id::Photoshop, data);
}

void Result::add(const PaletteEntry &entry)
{
    ++read;
    if (m_reading.take)
        m_reading.take(entry);
    else
        entries.append(entry);
}

bool Result::stop()
{
    if (!cancelled && m_reading.cancel && m_reading.cancel->load(std::memory_order_relaxed))
        cancelled = true;
    return cancelled;
}

void PaletteReader::readAs(PaletteFormat::Id format, const QByteArray &data, Result &result)
{
    switch (format) {
    case PaletteFormat::Id::Gimp:
        return gimpInto(data, result);
    case PaletteFormat::Id::AdobeSwatchExchange:
        return adobeSwatchExchangeInto(data, result);
    case PaletteFormat::Id::Csv:
        return csvInto(data, result);
    case PaletteFormat::Id::Css:
        return cssInto(data, result);
    case PaletteFormat::Id::LibreOffice:
        return libreOfficeInto(data, result);
    case PaletteFormat::Id::Scribus:
        return scribusInto(data, result);
    case PaletteFormat::Id::SwatchBooker:
        return swatchBookerInto(data, result);
    case PaletteFormat::Id::Krita:
        return kritaInto(data, result);
    case PaletteFormat::Id::Photoshop:
        return photoshopInto(data, result);
    case PaletteFormat::Id::SwatchSheet:
        break;
    }
    fail(result, QStringLiteral("This format is not read."));
}
