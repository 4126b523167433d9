// SPDX-License-Identifier: MIT
#include "colour/ColourInput.h"

#include <QStringList>

#include <algorithm>

namespace {

bool isAsciiLetterOrDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool isDigits(QStringView text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

// Digits with an optional sign: a number, whether in range or not.
bool isNumber(QStringView text)
{
    if (text.startsWith(u'-') || text.startsWith(u'+'))
        text = text.mid(1);
    return isDigits(text);
}

bool isHex(QStringView text)
{
    for (QChar c : text) {
        if (!isHexDigit(c))
            return false;
    }
    return true;
}

// Whether typing more could make typed (trimmed) a colour: the start of a
// code, of #rrggbb or rrggbb, of rgb(r, g, b) or of three numbers.
bool couldGrow(QStringView typed)
{
    if (typed.isEmpty())
        return true;
    // A code: up to three groups, each but the last two letters or digits.
    const QList<QStringView> groups = typed.split(u'.');
    bool codeStart = groups.size() <= 3;
    for (qsizetype i = 0; codeStart && i < groups.size(); ++i) {
        const QStringView group = groups.at(i);
        codeStart = (i + 1 == groups.size() ? group.size() <= 2 : group.size() == 2)
            && std::all_of(group.begin(), group.end(), isAsciiLetterOrDigit);
    }
    if (codeStart)
        return true;
    if (groups.size() > 1)
        return false;
    // Fewer than six hexadecimal digits, with or without '#'.
    const QStringView hex = typed.startsWith(u'#') ? typed.mid(1) : typed;
    if (hex.size() < 6 && isHex(hex))
        return true;
    // rgb(, then up to three numbers from 0 to 255; or the numbers alone.
    QStringView numbers = typed;
    const bool function = typed.startsWith(QLatin1String("rgb"), Qt::CaseInsensitive);
    if (!function && QStringView(u"rgb").startsWith(typed, Qt::CaseInsensitive))
        return true;
    if (function) {
        const QStringView arguments = typed.mid(3).trimmed();
        if (arguments.isEmpty())
            return true;
        if (!arguments.startsWith(u'(') || arguments.contains(u')') || arguments.count(u',') > 2)
            return false;
        numbers = arguments.mid(1);
    }
    QString spaced = numbers.toString();
    spaced.replace(u',', u' ');
    const QStringList values = spaced.simplified().split(u' ', Qt::SkipEmptyParts);
    const bool inRange = std::all_of(values.begin(), values.end(), [](const QString &value) {
        return isDigits(value) && value.size() <= 3 && value.toInt() <= 255;
    });
    // Three whole numbers are a colour already, or wait for rgb()'s ')'.
    return inRange && (values.size() < 3 || (function && values.size() == 3));
}

const QString &rangeText()
{
    static const QString text = QStringLiteral("red, green and blue are each a whole number from 0 to 255");
    return text;
}

} // namespace

ColourInput ColourInput::invalid(const QString &error)
{
    ColourInput input;
    input.m_error = error;
    return input;
}

ColourInput ColourInput::colour(int r, int g, int b)
{
    ColourInput input;
    input.m_kind = Kind::Colour;
    input.m_rgb = qRgb(r, g, b);
    return input;
}

ColourInput ColourInput::parse(const QString &text)
{
    const QString typed = text.trimmed();
    ColourInput input = read(typed);
    if (!input.isValid())
        input.m_incomplete = couldGrow(typed);
    return input;
}

ColourInput ColourInput::read(const QString &typed)
{
    if (typed.isEmpty())
        return invalid(QStringLiteral("Type a colour code, #rrggbb, rgb(r, g, b) or three numbers r g b."));

    // A card code: three groups of two letters or digits joined by dots.
    if (typed.contains(u'.')) {
        const QStringList groups = typed.split(u'.');
        const bool shaped = groups.size() == 3
            && std::all_of(groups.begin(), groups.end(), [](const QString &group) {
                   return group.size() == 2 && isAsciiLetterOrDigit(group[0]) && isAsciiLetterOrDigit(group[1]);
               });
        if (!shaped)
            return invalid(QStringLiteral("\u201c%1\u201d is not a colour code: a code is three groups of two "
                                          "letters or digits joined by dots, like K8.04.43.").arg(typed));
        ColourInput input;
        input.m_kind = Kind::Code;
        input.m_code = typed.toUpper();
        return input;
    }

    // Hexadecimal, with or without '#'.
    const bool hash = typed.startsWith(u'#');
    const QStringView hex = QStringView(typed).mid(hash ? 1 : 0);
    if (hash || (hex.size() == 6 && isHex(hex))) {
        if (!isHex(hex))
            return invalid(QStringLiteral("\u201c%1\u201d is not a hexadecimal colour: only the digits 0-9 and "
                                          "letters a-f may follow #.").arg(typed));
        if (hex.size() != 6)
            return invalid(QStringLiteral("\u201c%1\u201d has %2 hexadecimal digits; a colour has six, "
                                          "#rrggbb.").arg(typed, QString::number(hex.size())));
        const uint value = hex.toUInt(nullptr, 16);
        return colour(int(value >> 16) & 0xff, int(value >> 8) & 0xff, int(value) & 0xff);
    }

    // rgb(r, g, b), or three numbers apart by spaces or commas.
    QString numbers;
    const bool function = typed.startsWith(QLatin1String("rgb"), Qt::CaseInsensitive);
    if (function) {
        const QString arguments = typed.mid(3).trimmed();
        if (!arguments.startsWith(u'(') || !arguments.endsWith(u')'))
            return invalid(QStringLiteral("\u201c%1\u201d is not written as rgb(r, g, b).").arg(typed));
        numbers = arguments.mid(1, arguments.size() - 2);
        if (numbers.count(u',') != 2)
            return invalid(QStringLiteral("rgb( ) takes three numbers apart by commas, as in rgb(200, 30, 45)."));
    } else {
        numbers = typed;
    }
    numbers.replace(u',', u' ');
    const QStringList values = numbers.simplified().split(u' ', Qt::SkipEmptyParts);
    const bool allNumbers = std::all_of(values.begin(), values.end(), [](const QString &v) { return isNumber(v); });
    if (!function && (!allNumbers || values.size() < 2)) {
        return invalid(QStringLiteral("\u201c%1\u201d is not a colour: type a code like K8.04.43, #rrggbb, "
                                      "rgb(r, g, b) or three numbers r g b.").arg(typed));
    }
    if (values.size() != 3)
        return invalid(QStringLiteral("A colour takes three numbers, red, green and blue; \u201c%1\u201d has %2.")
                           .arg(typed, QString::number(values.size())));
    int rgb[3];
    for (int i = 0; i < 3; ++i) {
        const QString &value = values[i];
        if (!isNumber(value))
            return invalid(QStringLiteral("\u201c%1\u201d is not a number: %2.").arg(value, rangeText()));
        bool ok = false;
        const int number = value.toInt(&ok);
        if (!ok || number < 0 || number > 255)
            return invalid(QStringLiteral("%1 is out of range: %2.").arg(value, rangeText()));
        rgb[i] = number;
    }
    return colour(rgb[0], rgb[1], rgb[2]);
}
