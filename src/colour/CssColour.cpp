// SPDX-License-Identifier: MIT
#include "colour/CssColour.h"

#include "colour/PrintColours.h"
#include "colour/ReportText.h"

#include <QColor>
#include <QHash>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace {

using Vector = std::array<double, 3>;
using Matrix = std::array<Vector, 3>;

Vector times(const Matrix &m, const Vector &v)
{
    return {m[0][0] * v[0] + m[0][1] * v[1] + m[0][2] * v[2], m[1][0] * v[0] + m[1][1] * v[1] + m[1][2] * v[2],
            m[2][0] * v[0] + m[2][1] * v[1] + m[2][2] * v[2]};
}

// The matrices of CSS Color 4, section "Sample code for color conversions".
const Matrix srgbToXyz = {{{506752.0 / 1228815, 87881.0 / 245763, 12673.0 / 70218},
                           {87098.0 / 409605, 175762.0 / 245763, 12673.0 / 175545},
                           {7918.0 / 409605, 87881.0 / 737289, 1001167.0 / 1053270}}};
const Matrix xyzToSrgb = {{{12831.0 / 3959, -329.0 / 214, -1974.0 / 3959},
                           {-851781.0 / 878810, 1648619.0 / 878810, 36519.0 / 878810},
                           {705.0 / 12673, -2585.0 / 12673, 705.0 / 667}}};
const Matrix p3ToXyz = {{{608311.0 / 1250200, 189793.0 / 714400, 198249.0 / 1000160},
                         {35783.0 / 156275, 247089.0 / 357200, 198249.0 / 2500400},
                         {0, 32229.0 / 714400, 5220557.0 / 5000800}}};
const Matrix a98ToXyz = {{{573536.0 / 994567, 263643.0 / 1420810, 187206.0 / 994567},
                          {591459.0 / 1989134, 6239551.0 / 9945670, 374412.0 / 4972835},
                          {53769.0 / 1989134, 351524.0 / 4972835, 4929758.0 / 4972835}}};
const Matrix rec2020ToXyz = {{{63426534.0 / 99577255, 20160776.0 / 139408157, 47086771.0 / 278816314},
                              {26158966.0 / 99577255, 472592308.0 / 697040785, 8267143.0 / 139408157},
                              {0, 19567812.0 / 697040785, 295819943.0 / 278816314}}};
// ProPhoto RGB is D50 itself.
const Matrix prophotoToXyzD50 = {{{0.7977666449006423, 0.1351812974005331, 0.0313477341283922},
                                  {0.2880748288194013, 0.711835234241873, 0.00008993693872564},
                                  {0, 0, 0.8251046025104602}}};
// Bradford, as CSS Color 4 adapts between D65 and D50.
const Matrix d65ToD50 = {{{1.0479297925449969, 0.022946870601609652, -0.05019226628920524},
                          {0.02962780877005599, 0.9904344267538799, -0.017073799063418826},
                          {-0.009243040646204504, 0.015055191490298152, 0.7518742814281371}}};
const Matrix d50ToD65 = {{{0.955473421488075, -0.02309845494876471, 0.06325924320057072},
                          {-0.0283697093338637, 1.0099953980813041, 0.021041441191917323},
                          {0.012314014864481998, -0.020507649298898964, 1.330365926242124}}};
const Matrix oklabToLms = {{{1, 0.3963377773761749, 0.2158037573099136},
                            {1, -0.1055613458156586, -0.0638541728258133},
                            {1, -0.0894841775298119, -1.2914855480194092}}};
const Matrix lmsToXyz = {{{1.2268798758459243, -0.5578149944602171, 0.2813910456659647},
                          {-0.0405757452148008, 1.1122868032803170, -0.0717110580655164},
                          {-0.0763729366746601, -0.4214933324022432, 1.5869240198367816}}};

double signedPower(double x, double p)
{
    return std::copysign(std::pow(std::abs(x), p), x);
}

double srgbLinear(double c)
{
    return std::abs(c) <= 0.04045 ? c / 12.92 : std::copysign(std::pow((std::abs(c) + 0.055) / 1.055, 2.4), c);
}

double srgbEncoded(double c)
{
    return std::abs(c) <= 0.0031308 ? c * 12.92 : std::copysign(1.055 * std::pow(std::abs(c), 1 / 2.4) - 0.055, c);
}

Vector linear(const Vector &v, double (*f)(double))
{
    return {f(v[0]), f(v[1]), f(v[2])};
}

double a98Linear(double c)
{
    return signedPower(c, 563.0 / 256);
}

double prophotoLinear(double c)
{
    return std::abs(c) <= 16.0 / 512 ? c / 16 : signedPower(c, 1.8);
}

double rec2020Linear(double c)
{
    constexpr double alpha = 1.09929682680944, beta = 0.018053968510807;
    return std::abs(c) < beta * 4.5 ? c / 4.5 : std::copysign(std::pow((std::abs(c) + alpha - 1) / alpha, 1 / 0.45), c);
}

const Vector d50White = {0.3457 / 0.3585, 1, (1 - 0.3457 - 0.3585) / 0.3585};

Vector labFromXyzD50(const Vector &xyz)
{
    constexpr double epsilon = 216.0 / 24389, kappa = 24389.0 / 27;
    const auto f = [&](double t) { return t > epsilon ? std::cbrt(t) : (kappa * t + 16) / 116; };
    const double fx = f(xyz[0] / d50White[0]), fy = f(xyz[1] / d50White[1]), fz = f(xyz[2] / d50White[2]);
    return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

Vector xyzD50FromLab(double l, double a, double b)
{
    constexpr double epsilon = 216.0 / 24389, kappa = 24389.0 / 27;
    const double fy = (l + 16) / 116, fx = a / 500 + fy, fz = fy - b / 200;
    const auto inverse = [&](double f) { return f * f * f > epsilon ? f * f * f : (116 * f - 16) / kappa; };
    return {inverse(fx) * d50White[0], l > kappa * epsilon ? fy * fy * fy : l / kappa, inverse(fz) * d50White[2]};
}

Vector hslToSrgb(double hue, double saturation, double lightness)
{
    hue = std::fmod(hue, 360.0);
    if (hue < 0)
        hue += 360;
    const auto f = [&](double n) {
        const double k = std::fmod(n + hue / 30, 12.0);
        const double a = saturation * std::min(lightness, 1 - lightness);
        return lightness - a * std::max(-1.0, std::min({k - 3, 9 - k, 1.0}));
    };
    return {f(0), f(8), f(4)};
}

// The colour from its encoded sRGB (srgb given) or its D50 XYZ.
CssColour malformed(const QString &why)
{
    CssColour colour;
    colour.why = why;
    return colour;
}

CssColour finish(const Vector &xyzD50, const Vector *srgb, double alpha)
{
    // Values far past any gamut (lab(50 1e300 0)) have no colour to show.
    const Vector lab = labFromXyzD50(xyzD50);
    for (int i = 0; i < 3; ++i) {
        if (!std::isfinite(xyzD50[i]) || !std::isfinite(lab[i]) || std::abs(lab[i]) > 1000)
            return malformed(QStringLiteral("its values lie beyond any colour"));
    }
    CssColour colour;
    colour.kind = CssColour::Kind::Colour;
    colour.alpha = std::clamp(alpha, 0.0, 1.0);
    const Vector encoded = srgb ? *srgb : linear(times(xyzToSrgb, times(d50ToD65, xyzD50)), srgbEncoded);
    int channel[3];
    for (int i = 0; i < 3; ++i) {
        const double scaled = encoded[i] * 255;
        // Outside only when the 8-bit value had to be clipped.
        if (!(scaled >= -0.5 && scaled < 255.5))
            colour.outsideSrgb = true;
        channel[i] = std::clamp(int(std::lround(scaled)), 0, 255);
    }
    colour.rgb = qRgb(channel[0], channel[1], channel[2]);
    // An sRGB colour within sRGB is its 8-bit value, as every palette's.
    if (!(srgb && !colour.outsideSrgb)) {
        colour.lab = PrintColours::fromLabD50(lab[0], lab[1], lab[2]).lab;
    }
    return colour;
}

// One argument of a colour function: a number, a percentage, an angle or
// none.
struct Argument
{
    enum class Type { Number, Percentage, Angle, None } type = Type::Number;
    double value = 0;
};

bool argument(const CssToken &token, Argument *out)
{
    switch (token.type) {
    case CssToken::Type::Number:
        *out = {Argument::Type::Number, token.number};
        return std::isfinite(token.number);
    case CssToken::Type::Percentage:
        *out = {Argument::Type::Percentage, token.number};
        return std::isfinite(token.number);
    case CssToken::Type::Dimension: {
        const QString unit = token.text.toLower();
        double degrees = 0;
        if (unit == QLatin1String("deg"))
            degrees = token.number;
        else if (unit == QLatin1String("grad"))
            degrees = token.number * 0.9;
        else if (unit == QLatin1String("rad"))
            degrees = token.number * 180 / M_PI;
        else if (unit == QLatin1String("turn"))
            degrees = token.number * 360;
        else
            return false;
        *out = {Argument::Type::Angle, degrees};
        return std::isfinite(degrees);
    }
    case CssToken::Type::Ident:
        *out = {Argument::Type::None, 0};
        return token.text.compare(QLatin1String("none"), Qt::CaseInsensitive) == 0;
    default:
        return false;
    }
}

// A number, or a percentage of hundred (what 100% stands for).
double scaled(const Argument &a, double hundred)
{
    return a.type == Argument::Type::Percentage ? a.value / 100 * hundred : a.value;
}

bool isHue(const Argument &a)
{
    return a.type != Argument::Type::Percentage;
}

// a and b of lab() or oklab() (axis: what 100% stands for), or of lch()
// and oklch() from chroma (chroma: what 100% stands for) and hue; nothing
// when the hue is no hue.
std::optional<std::pair<double, double>> opponents(const Argument a[3], bool polar, double axis, double chroma)
{
    if (!polar)
        return std::make_pair(scaled(a[1], axis), scaled(a[2], axis));
    if (!isHue(a[2]))
        return std::nullopt;
    const double c = std::max(0.0, scaled(a[1], chroma));
    return std::make_pair(c * std::cos(a[2].value * M_PI / 180), c * std::sin(a[2].value * M_PI / 180));
}

double alphaOf(const Argument &a)
{
    return a.type == Argument::Type::Percentage ? a.value / 100 : a.type == Argument::Type::None ? 0 : a.value;
}

} // namespace

QVector<CssToken> CssColour::tokens(QStringView value)
{
    QVector<CssToken> out;
    const qsizetype n = value.size();
    const auto nameChar = [&](qsizetype i) {
        if (i >= n)
            return false;
        const QChar c = value[i];
        return c.isLetterOrNumber() || c == u'-' || c == u'_' || c.unicode() >= 0x80 || c == u'\\';
    };
    const auto nameStart = [&](qsizetype i) {
        if (i >= n)
            return false;
        const QChar c = value[i];
        return c.isLetter() || c == u'_' || c.unicode() >= 0x80 || c == u'\\'
            || (c == u'-' && (nameChar(i + 1) && !value[i + 1].isDigit()));
    };
    const auto readName = [&](qsizetype &i) {
        QString name;
        while (nameChar(i)) {
            // An escape stands for the character after it.
            if (value[i] == u'\\' && i + 1 < n)
                ++i;
            name.append(value[i++]);
        }
        return name;
    };
    qsizetype i = 0;
    while (i < n) {
        CssToken token;
        token.start = i;
        const QChar c = value[i];
        if (c.isSpace()) {
            while (i < n && value[i].isSpace())
                ++i;
            token.type = CssToken::Type::Space;
        } else if (c == u'"' || c == u'\'') {
            ++i;
            while (i < n && value[i] != c) {
                if (value[i] == u'\\')
                    ++i;
                ++i;
            }
            i = std::min(i + 1, n);
            token.type = CssToken::Type::String;
        } else if (c == u'#') {
            ++i;
            if (nameChar(i)) {
                token.type = CssToken::Type::Hash;
                token.text = readName(i);
            }
        } else if (c.isDigit() || ((c == u'.' || c == u'+' || c == u'-') && i + 1 < n
                                   && (value[i + 1].isDigit() || (value[i + 1] == u'.' && i + 2 < n && value[i + 2].isDigit())))) {
            qsizetype end = i + 1;
            while (end < n && (value[end].isDigit() || value[end] == u'.'))
                ++end;
            if (end + 1 < n && (value[end] == u'e' || value[end] == u'E')
                && (value[end + 1].isDigit() || ((value[end + 1] == u'+' || value[end + 1] == u'-') && end + 2 < n && value[end + 2].isDigit()))) {
                end += 2;
                while (end < n && value[end].isDigit())
                    ++end;
            }
            bool ok = false;
            token.number = value.mid(i, end - i).toDouble(&ok);
            i = end;
            if (!ok) {
                token.type = CssToken::Type::Delim;
            } else if (i < n && value[i] == u'%') {
                ++i;
                token.type = CssToken::Type::Percentage;
            } else if (nameStart(i)) {
                token.type = CssToken::Type::Dimension;
                token.text = readName(i);
            } else {
                token.type = CssToken::Type::Number;
            }
        } else if (nameStart(i)) {
            token.text = readName(i);
            if (i < n && value[i] == u'(') {
                ++i;
                if (token.text.compare(QLatin1String("url"), Qt::CaseInsensitive) == 0) {
                    // Passed over whole: a fragment's # is not a colour.
                    int depth = 1;
                    while (i < n && depth > 0) {
                        if (value[i] == u'(')
                            ++depth;
                        else if (value[i] == u')')
                            --depth;
                        ++i;
                    }
                    token.type = CssToken::Type::Url;
                } else {
                    token.type = CssToken::Type::Function;
                }
            } else {
                token.type = CssToken::Type::Ident;
            }
        } else {
            ++i;
            token.type = c == u',' ? CssToken::Type::Comma
                : c == u'/'        ? CssToken::Type::Slash
                : c == u'('        ? CssToken::Type::Open
                : c == u')'        ? CssToken::Type::Close
                                   : CssToken::Type::Delim;
            token.text = c;
        }
        token.end = i;
        out.append(token);
    }
    return out;
}

bool CssColour::isColourFunction(const QString &name)
{
    static const QStringList names = {"rgb", "rgba", "hsl", "hsla", "hwb", "lab", "lch", "oklab", "oklch", "color"};
    return names.contains(name.toLower());
}

std::optional<QRgb> CssColour::named(const QString &ident)
{
    // Qt knows the SVG names; CSS Color 4 adds rebeccapurple.
    static const QHash<QString, QRgb> colours = [] {
        QHash<QString, QRgb> all;
        for (const QString &name : QColor::colorNames()) {
            if (name != QLatin1String("transparent"))
                all.insert(name, QColor::fromString(name).rgb());
        }
        all.insert(QStringLiteral("rebeccapurple"), qRgb(0x66, 0x33, 0x99));
        return all;
    }();
    const auto found = colours.constFind(ident.toLower());
    return found == colours.constEnd() ? std::nullopt : std::optional<QRgb>(*found);
}

CssColour CssColour::fromHash(const QString &name)
{
    const bool hex = std::all_of(name.begin(), name.end(), [](QChar c) {
        return (c >= u'0' && c <= u'9') || (c.toLower() >= u'a' && c.toLower() <= u'f');
    });
    if (!hex || !(name.size() == 3 || name.size() == 4 || name.size() == 6 || name.size() == 8))
        return malformed(QStringLiteral("\u201c#%1\u201d is not a colour: 3, 4, 6 or 8 hexadecimal digits").arg(ReportText::cut(name)));
    const bool shortForm = name.size() <= 4;
    double v[4] = {0, 0, 0, 255};
    for (int i = 0; i < name.size() / (shortForm ? 1 : 2); ++i) {
        const int digit = shortForm ? name.mid(i, 1).repeated(2).toInt(nullptr, 16) : name.mid(2 * i, 2).toInt(nullptr, 16);
        v[i] = digit;
    }
    const Vector srgb = {v[0] / 255, v[1] / 255, v[2] / 255};
    return finish(times(d65ToD50, times(srgbToXyz, linear(srgb, srgbLinear))), &srgb, v[3] / 255);
}

CssColour CssColour::fromFunction(const QString &function, const QVector<CssToken> &tokens, qsizetype from,
                                  qsizetype to, bool closed)
{
    const QString name = function.toLower();
    if (!closed)
        return malformed(QStringLiteral("%1( is not closed").arg(name));
    // The arguments without spaces: comma separated (the legacy syntax) or
    // space separated with an alpha after a slash.
    QVector<const CssToken *> items;
    int commas = 0, slashes = 0;
    qsizetype slashAt = -1;
    for (qsizetype i = from; i < to; ++i) {
        const CssToken &t = tokens.at(i);
        if (t.type == CssToken::Type::Space)
            continue;
        if (t.type == CssToken::Type::Comma) {
            ++commas;
            continue;
        }
        if (t.type == CssToken::Type::Slash) {
            ++slashes;
            slashAt = items.size();
            continue;
        }
        if (t.type == CssToken::Type::Function)
            return malformed(QStringLiteral("%1(): %2() inside a colour is not read").arg(name, t.text.toLower()));
        items.append(&t);
    }
    QString space;
    if (name == QLatin1String("color")) {
        if (items.isEmpty() || items.first()->type != CssToken::Type::Ident)
            return malformed(QStringLiteral("color() names no colour space"));
        space = items.takeFirst()->text.toLower();
        if (slashAt > 0)
            --slashAt;
        if (space == QLatin1String("from"))
            return malformed(QStringLiteral("a relative colour (color(from …)) is not read"));
    } else if (!items.isEmpty() && items.first()->type == CssToken::Type::Ident
               && items.first()->text.compare(QLatin1String("from"), Qt::CaseInsensitive) == 0) {
        return malformed(QStringLiteral("a relative colour (%1(from …)) is not read").arg(name));
    }
    const bool legacy = commas > 0;
    const bool countOk = legacy ? slashes == 0 && (items.size() == 3 || items.size() == 4) && commas == items.size() - 1
                                : (slashes == 0 && items.size() == 3) || (slashes == 1 && slashAt == 3 && items.size() == 4);
    if (!countOk)
        return malformed(QStringLiteral("%1() takes three values and an alpha").arg(name));
    Argument a[4];
    for (int i = 0; i < items.size(); ++i) {
        if (!argument(*items.at(i), &a[i]) || (legacy && a[i].type == Argument::Type::None))
            return malformed(QStringLiteral("%1(): value %2 is not a number, percentage, angle or none").arg(name).arg(i + 1));
    }
    const double alpha = items.size() == 4 ? alphaOf(a[3]) : 1;
    for (int i = 0; i < 3; ++i) {
        if (a[i].type == Argument::Type::Angle && !(i == 0 && (name.startsWith(QLatin1String("hs")) || name == QLatin1String("hwb")))
            && !(i == 2 && (name == QLatin1String("lch") || name == QLatin1String("oklch"))))
            return malformed(QStringLiteral("%1(): value %2 is not an angle").arg(name).arg(i + 1));
    }

    if (name == QLatin1String("rgb") || name == QLatin1String("rgba")) {
        Vector srgb;
        for (int i = 0; i < 3; ++i)
            srgb[i] = std::clamp(scaled(a[i], 255), 0.0, 255.0) / 255;
        return finish(times(d65ToD50, times(srgbToXyz, linear(srgb, srgbLinear))), &srgb, alpha);
    }
    if (name.startsWith(QLatin1String("hsl")) || name == QLatin1String("hwb")) {
        if (!isHue(a[0]))
            return malformed(QStringLiteral("%1(): the hue is an angle or a number").arg(name));
        const double second = std::clamp(scaled(a[1], 100), 0.0, 100.0) / 100;
        const double third = std::clamp(scaled(a[2], 100), 0.0, 100.0) / 100;
        Vector srgb;
        if (name == QLatin1String("hwb")) {
            if (second + third >= 1) {
                const double grey = second / (second + third);
                srgb = {grey, grey, grey};
            } else {
                srgb = hslToSrgb(a[0].value, 1, 0.5);
                for (double &c : srgb)
                    c = c * (1 - second - third) + second;
            }
        } else {
            srgb = hslToSrgb(a[0].value, second, third);
        }
        return finish(times(d65ToD50, times(srgbToXyz, linear(srgb, srgbLinear))), &srgb, alpha);
    }
    if (name == QLatin1String("lab") || name == QLatin1String("lch")) {
        const double l = std::clamp(scaled(a[0], 100), 0.0, 100.0);
        const std::optional<std::pair<double, double>> ab = opponents(a, name == QLatin1String("lch"), 125, 150);
        if (!ab)
            return malformed(QStringLiteral("lch(): the hue is an angle or a number"));
        CssColour colour = finish(xyzD50FromLab(l, ab->first, ab->second), nullptr, alpha);
        // Exactly as a palette's own Lab, D50 adapted.
        colour.lab = PrintColours::fromLabD50(l, ab->first, ab->second).lab;
        colour.fromLab = true;
        return colour;
    }
    if (name == QLatin1String("oklab") || name == QLatin1String("oklch")) {
        const double l = std::clamp(scaled(a[0], 1), 0.0, 1.0);
        const std::optional<std::pair<double, double>> ab = opponents(a, name == QLatin1String("oklch"), 0.4, 0.4);
        if (!ab)
            return malformed(QStringLiteral("oklch(): the hue is an angle or a number"));
        const double aa = ab->first, bb = ab->second;
        Vector lms = times(oklabToLms, {l, aa, bb});
        for (double &c : lms)
            c = c * c * c;
        return finish(times(d65ToD50, times(lmsToXyz, lms)), nullptr, alpha);
    }
    // color(): every value a number or a percentage of 1.
    Vector v;
    for (int i = 0; i < 3; ++i)
        v[i] = scaled(a[i], 1);
    if (space == QLatin1String("srgb")) {
        return finish(times(d65ToD50, times(srgbToXyz, linear(v, srgbLinear))), &v, alpha);
    }
    if (space == QLatin1String("srgb-linear")) {
        const Vector srgb = linear(v, srgbEncoded);
        return finish(times(d65ToD50, times(srgbToXyz, v)), &srgb, alpha);
    }
    if (space == QLatin1String("display-p3"))
        return finish(times(d65ToD50, times(p3ToXyz, linear(v, srgbLinear))), nullptr, alpha);
    if (space == QLatin1String("a98-rgb"))
        return finish(times(d65ToD50, times(a98ToXyz, linear(v, a98Linear))), nullptr, alpha);
    if (space == QLatin1String("prophoto-rgb"))
        return finish(times(prophotoToXyzD50, linear(v, prophotoLinear)), nullptr, alpha);
    if (space == QLatin1String("rec2020"))
        return finish(times(d65ToD50, times(rec2020ToXyz, linear(v, rec2020Linear))), nullptr, alpha);
    if (space == QLatin1String("xyz") || space == QLatin1String("xyz-d65"))
        return finish(times(d65ToD50, v), nullptr, alpha);
    if (space == QLatin1String("xyz-d50"))
        return finish(v, nullptr, alpha);
    return malformed(QStringLiteral("color(): the colour space \u201c%1\u201d is not known").arg(ReportText::cut(space)));
}
