// SPDX-License-Identifier: MIT
#include "data/CardReader.h"

#include <QHash>
#include <QPair>
#include <QSet>
#include <QStringList>

namespace CardReader {
namespace {

const QString header = QStringLiteral("Sn,Page,Row,Code,R,G,B");
constexpr int fieldCount = 7;
constexpr int codeColumn = 3;
constexpr int codeLength = 8;
constexpr int maxDigits = 9;  // keeps every accepted number inside an int

// The whole-number columns of a line: where they sit, what they may hold and
// where they go.
struct IntField
{
    int column;
    const char *name;
    int min;
    int max;
    int CardRow::*member;
};

const IntField intFields[] = {
    {0, "Sn", 1, 999999999, &CardRow::sn},
    {1, "Page", 1, 9999, &CardRow::page},
    {2, "Row", 1, 8, &CardRow::row},
    {4, "R", 0, 255, &CardRow::r},
    {5, "G", 0, 255, &CardRow::g},
    {6, "B", 0, 255, &CardRow::b},
};

// A plain decimal number: digits only, no sign, no spaces.
bool isNumber(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

// The value of a number isNumber() accepted; -1 when it has too many digits
// for any column.
int numberValue(const QString &text)
{
    if (text.size() > maxDigits)
        return -1;
    int v = 0;
    for (const QChar c : text)
        v = v * 10 + (c.unicode() - '0');
    return v;
}

// The card table looks codes up without regard to ASCII case, so two codes
// that differ only so would be one code to the program.
QString foldedCode(const QString &code)
{
    QString folded = code;
    for (QChar &c : folded) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    }
    return folded;
}

Result refused(int line, const QString &reason)
{
    Result result;
    result.line = line;
    result.reason = reason;
    return result;
}

} // namespace

QString Result::refusal() const
{
    return QStringLiteral("line %1: %2").arg(line).arg(reason);
}

Result read(const QByteArray &csv)
{
    QStringList lines = QString::fromUtf8(csv).split(QLatin1Char('\n'));
    for (QString &line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();

    if (lines.isEmpty())
        return refused(1, QStringLiteral("empty, expected the header \"%1\"").arg(header));
    QString first = lines.first();
    if (first.startsWith(QChar(0xFEFF)))
        first.remove(0, 1);
    if (first != header)
        return refused(1, QStringLiteral("expected the header \"%1\", found \"%2\"").arg(header, first));
    if (lines.size() == 1)
        return refused(1, QStringLiteral("no colours after the header"));

    QSet<int> sns;
    QHash<QString, int> codeLines;
    QHash<QPair<int, int>, int> placeLines;
    Result result;
    result.rows.reserve(lines.size() - 1);
    for (int i = 1; i < lines.size(); ++i) {
        const int lineNumber = i + 1;
        const QStringList fields = lines.at(i).split(QLatin1Char(','));
        if (fields.size() != fieldCount)
            return refused(lineNumber,
                           QStringLiteral("expected %1 fields, found %2").arg(fieldCount).arg(fields.size()));

        CardRow row;
        for (const IntField &f : intFields) {
            const QString &text = fields.at(f.column);
            if (!isNumber(text))
                return refused(lineNumber,
                               QStringLiteral("%1 \"%2\" is not a whole number").arg(QLatin1String(f.name), text));
            const int value = numberValue(text);
            if (value < f.min || value > f.max)
                return refused(lineNumber, QStringLiteral("%1 %2 is out of range %3..%4")
                                               .arg(QLatin1String(f.name), text)
                                               .arg(f.min)
                                               .arg(f.max));
            row.*f.member = value;
        }
        row.code = fields.at(codeColumn);
        if (row.code.size() != codeLength)
            return refused(lineNumber, QStringLiteral("Code \"%1\" has %2 characters, expected %3")
                                           .arg(row.code)
                                           .arg(row.code.size())
                                           .arg(codeLength));

        if (sns.contains(row.sn))
            return refused(lineNumber, QStringLiteral("Sn %1 appears twice").arg(row.sn));
        sns.insert(row.sn);
        const QString folded = foldedCode(row.code);
        if (const auto it = codeLines.constFind(folded); it != codeLines.cend())
            return refused(lineNumber, QStringLiteral("Code %1 repeats line %2").arg(row.code).arg(*it));
        codeLines.insert(folded, lineNumber);
        const QPair<int, int> place(row.page, row.row);
        if (const auto it = placeLines.constFind(place); it != placeLines.cend())
            return refused(lineNumber,
                           QStringLiteral("page %1 row %2 repeats line %3").arg(row.page).arg(row.row).arg(*it));
        placeLines.insert(place, lineNumber);

        result.rows.append(row);
    }
    return result;
}

} // namespace CardReader
