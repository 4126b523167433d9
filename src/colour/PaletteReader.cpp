// SPDX-License-Identifier: MIT
#include "colour/PaletteReader.h"

#include "colour/PaletteEntry.h"

#include <QHash>
#include <QStringList>
#include <QtEndian>

#include <QVarLengthArray>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

using Result = PaletteReader::Result;

Result failure(const QString &error)
{
    Result result;
    result.error = error;
    return result;
}

PaletteEntry entry(const QString &code, QRgb rgb)
{
    PaletteEntry e;
    e.code = code;
    e.rgb = rgb;
    return e;
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

Result PaletteReader::gimp(const QByteArray &data)
{
    const QString text = QString::fromUtf8(withoutBom(data));
    const QStringList lines = text.split(u'\n');
    if (lines.isEmpty() || lines[0].trimmed() != QLatin1String("GIMP Palette"))
        return failure(QStringLiteral("This is not a GIMP palette: its first line is not \u201cGIMP Palette\u201d."));

    Result result;
    for (int i = 1; i < lines.size(); ++i) {
        QStringView line = QStringView(lines[i]);
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QStringView trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#') || line.startsWith(QLatin1String("Name:"))
            || line.startsWith(QLatin1String("Columns:")))
            continue;
        QStringView rest = line;
        int rgb[3];
        for (int &value : rgb) {
            const QStringView word = nextWord(rest);
            value = component(word);
            if (value < 0)
                return failure(QStringLiteral("Line %1: a colour is three numbers from 0 to 255, then its name; "
                                              "\u201c%2\u201d is not.").arg(i + 1).arg(word.isEmpty() ? trimmed.left(40) : word.left(40)));
        }
        result.entries.append(entry(rest.trimmed().toString(), qRgb(rgb[0], rgb[1], rgb[2])));
    }
    return result;
}

Result PaletteReader::adobeSwatchExchange(const QByteArray &data)
{
    Bytes bytes(data.constData(), data.size());
    if (!bytes.has(12) || bytes.raw(4) != "ASEF")
        return failure(QStringLiteral("This is not an Adobe swatch exchange file: it does not begin with ASEF."));
    const quint16 major = bytes.u16();
    bytes.u16();
    if (major != 1)
        return failure(QStringLiteral("Adobe swatch exchange version %1 is not known; version 1 is.").arg(major));
    const quint32 blockCount = bytes.u32();

    Result result;
    // A colour block takes at least 22 bytes: a count larger than the file
    // can hold must not decide the allocation.
    result.entries.reserve(int(std::min<qint64>(blockCount, bytes.left() / 22)));
    for (quint32 blockNumber = 1; blockNumber <= blockCount; ++blockNumber) {
        if (!bytes.has(6))
            return failure(QStringLiteral("The file ends at block %1 of the %2 it announces.")
                               .arg(blockNumber).arg(blockCount));
        const quint16 type = bytes.u16();
        const quint32 length = bytes.u32();
        if (!bytes.has(qint64(length)))
            return failure(QStringLiteral("Block %1 is %2 bytes long, more than the %3 bytes left in the file.")
                               .arg(blockNumber).arg(length).arg(bytes.left()));
        Bytes block = bytes.take(length);
        // Group starts and ends, and blocks of kinds not known, are passed over.
        if (type != 0x0001)
            continue;

        const QString broken = QStringLiteral("Colour block %1 is damaged: %2.").arg(blockNumber);
        if (!block.has(2))
            return failure(broken.arg(QStringLiteral("it has no name length")));
        const quint16 units = block.u16();
        if (!block.has(2 * qint64(units) + 4))
            return failure(broken.arg(QStringLiteral("its name and colour model do not fit in it")));
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
        if (components == 0) {
            ++result.skipped;
            continue;
        }
        if (!block.has(4 * components + 2))
            return failure(broken.arg(QStringLiteral("its colour values do not fit in it")));
        int value[3];
        for (int c = 0; c < components; ++c) {
            if (!unitComponent(block.f32(), &value[c]))
                return failure(broken.arg(QStringLiteral("a colour value is not between 0 and 1")));
        }
        if (components == 1)
            value[1] = value[2] = value[0];
        result.entries.append(entry(name, qRgb(value[0], value[1], value[2])));
    }
    return result;
}

Result PaletteReader::csv(const QByteArray &data)
{
    const QString text = QString::fromUtf8(withoutBom(data));
    CsvRecords records(text);
    CsvRecord headerRecord;
    if (!records.next(&headerRecord)) {
        return failure(records.error().isEmpty()
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
        return failure(QStringLiteral("The header line names no \u201ccode\u201d column, or neither a "
                                      "\u201chex\u201d column nor \u201cr\u201d, \u201cg\u201d and \u201cb\u201d."));

    Result result;
    // Records are about a line each.
    result.entries.reserve(text.count(u'\n'));
    CsvRecord record;
    while (records.next(&record)) {
        if (record.fields.size() != header.size())
            return failure(QStringLiteral("Line %1 has %2 fields; the header has %3.")
                               .arg(record.line).arg(record.fields.size()).arg(header.size()));
        PaletteEntry e;
        // Spaces belong to a field (RFC 4180): a code is kept as written.
        e.code = record.fields[code].toString();
        const QStringView hexText = hex >= 0 ? record.fields[hex].trimmed() : QStringView();
        if (!hexText.isEmpty()) {
            const QStringView digits = hexText.mid(hexText.startsWith(u'#') ? 1 : 0);
            const bool ok = digits.size() == 6 && std::all_of(digits.begin(), digits.end(), [](QChar c) {
                return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
            });
            if (!ok)
                return failure(QStringLiteral("Line %1: \u201c%2\u201d is not a colour #rrggbb.")
                                   .arg(record.line).arg(hexText.left(40).toString()));
            e.rgb = 0xff000000u | digits.toUInt(nullptr, 16);
        } else if (hasRgb) {
            const QStringView r = record.fields[red].trimmed(), g = record.fields[green].trimmed(),
                          b = record.fields[blue].trimmed();
            if (!(r.isEmpty() && g.isEmpty() && b.isEmpty())) {
                const int rv = component(r), gv = component(g), bv = component(b);
                if (rv < 0 || gv < 0 || bv < 0)
                    return failure(QStringLiteral("Line %1: r, g and b are each a whole number from 0 to 255.")
                                       .arg(record.line));
                e.rgb = qRgb(rv, gv, bv);
            }
        }
        bool pageOk = true, rowOk = true;
        e.page = page >= 0 ? optionalCount(record.fields[page], &pageOk) : 0;
        e.row = row >= 0 ? optionalCount(record.fields[row], &rowOk) : 0;
        if (!pageOk || !rowOk)
            return failure(QStringLiteral("Line %1: page and row are whole numbers.").arg(record.line));
        result.entries.append(e);
    }
    if (!records.error().isEmpty())
        return failure(records.error());
    return result;
}
