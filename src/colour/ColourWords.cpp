// SPDX-License-Identifier: MIT
#include "colour/ColourWords.h"

#include "colour/ColourSpace.h"

#include <QCoreApplication>
#include <QStringList>

#include <cmath>

namespace {

// Each band runs from its value up to the next band's. An empty word: the
// middle of the scale, which goes unsaid.
struct Band
{
    double from;
    const char *word;
};

// Below the first chromatic band a colour is a grey.
const Band lightness[] = {
    {0, QT_TRANSLATE_NOOP("ColourWords", "very dark")},
    {20, QT_TRANSLATE_NOOP("ColourWords", "dark")},
    {40, ""},
    {65, QT_TRANSLATE_NOOP("ColourWords", "light")},
    {85, QT_TRANSLATE_NOOP("ColourWords", "very light")},
};
const Band chroma[] = {
    {0, nullptr},  // a grey
    {6, QT_TRANSLATE_NOOP("ColourWords", "greyish")},
    {18, ""},
    {50, QT_TRANSLATE_NOOP("ColourWords", "vivid")},
};
const Band hue[] = {
    {0, QT_TRANSLATE_NOOP("ColourWords", "rose")},
    {20, QT_TRANSLATE_NOOP("ColourWords", "red")},
    {50, QT_TRANSLATE_NOOP("ColourWords", "orange")},
    {75, QT_TRANSLATE_NOOP("ColourWords", "yellow")},
    {105, QT_TRANSLATE_NOOP("ColourWords", "yellow green")},
    {130, QT_TRANSLATE_NOOP("ColourWords", "green")},
    {165, QT_TRANSLATE_NOOP("ColourWords", "blue green")},
    {210, QT_TRANSLATE_NOOP("ColourWords", "azure")},
    {260, QT_TRANSLATE_NOOP("ColourWords", "blue")},
    {310, QT_TRANSLATE_NOOP("ColourWords", "violet")},
    {325, QT_TRANSLATE_NOOP("ColourWords", "purple")},
    {345, QT_TRANSLATE_NOOP("ColourWords", "rose")},
};
// Greys at the ends of the lightness scale have names of their own.
constexpr double blackBelow = 12;
constexpr double whiteFrom = 92;

template <size_t n>
const char *bandOf(const Band (&bands)[n], double value)
{
    const char *word = bands[0].word;
    for (const Band &band : bands) {
        if (value >= band.from)
            word = band.word;
    }
    return word;
}

QString tr(const char *word)
{
    return QCoreApplication::translate("ColourWords", word);
}

} // namespace

QString ColourWords::of(QRgb rgb)
{
    const Lab lab = ColourSpace::labFromRgb(rgb);
    double h = std::atan2(lab.b, lab.a) * 180.0 / M_PI;
    if (h < 0)
        h += 360;
    return of(lab.l, lab.chroma(), h);
}

QString ColourWords::of(double l, double c, double h)
{
    QStringList words;
    const char *light = bandOf(lightness, l);
    const char *strength = bandOf(chroma, c);
    if (!strength) {
        if (l < blackBelow)
            return tr(QT_TRANSLATE_NOOP("ColourWords", "black"));
        if (l >= whiteFrom)
            return tr(QT_TRANSLATE_NOOP("ColourWords", "white"));
        if (*light)
            words << tr(light);
        words << tr(QT_TRANSLATE_NOOP("ColourWords", "grey"));
        return words.join(QLatin1Char(' '));
    }
    if (*light)
        words << tr(light);
    if (*strength)
        words << tr(strength);
    words << tr(bandOf(hue, std::fmod(std::fmod(h, 360.0) + 360.0, 360.0)));
    return words.join(QLatin1Char(' '));
}
