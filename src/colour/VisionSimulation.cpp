// SPDX-License-Identifier: MIT
#include "colour/VisionSimulation.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

using Matrix = double[3][3];

// Machado, Oliveira and Fernandes (2009), the matrices of their supplement for
// severities 0.0, 0.1, ... 1.0: protanomaly, deuteranomaly, tritanomaly.
const Matrix machado[3][11] = {
    {   // protanomaly
        {{1.000000, 0.000000, 0.000000}, {0.000000, 1.000000, 0.000000}, {0.000000, 0.000000, 1.000000}},
        {{0.856167, 0.182038, -0.038205}, {0.029342, 0.955115, 0.015544}, {-0.002880, -0.001563, 1.004443}},
        {{0.734766, 0.334872, -0.069637}, {0.051840, 0.919198, 0.028963}, {-0.004928, -0.004209, 1.009137}},
        {{0.630323, 0.465641, -0.095964}, {0.069181, 0.890046, 0.040773}, {-0.006308, -0.007724, 1.014032}},
        {{0.539009, 0.579343, -0.118352}, {0.082546, 0.866121, 0.051332}, {-0.007136, -0.011959, 1.019095}},
        {{0.458064, 0.679578, -0.137642}, {0.092785, 0.846313, 0.060902}, {-0.007494, -0.016807, 1.024301}},
        {{0.385450, 0.769005, -0.154455}, {0.100526, 0.829802, 0.069673}, {-0.007442, -0.022190, 1.029632}},
        {{0.319627, 0.849633, -0.169261}, {0.106241, 0.815969, 0.077790}, {-0.007025, -0.028051, 1.035076}},
        {{0.259411, 0.923008, -0.182420}, {0.110296, 0.804340, 0.085364}, {-0.006276, -0.034346, 1.040622}},
        {{0.203876, 0.990338, -0.194214}, {0.112975, 0.794542, 0.092483}, {-0.005222, -0.041043, 1.046265}},
        {{0.152286, 1.052583, -0.204868}, {0.114503, 0.786281, 0.099216}, {-0.003882, -0.048116, 1.051998}},
    },
    {   // deuteranomaly
        {{1.000000, 0.000000, 0.000000}, {0.000000, 1.000000, 0.000000}, {0.000000, 0.000000, 1.000000}},
        {{0.866435, 0.177704, -0.044139}, {0.049567, 0.939063, 0.011370}, {-0.003453, 0.007233, 0.996220}},
        {{0.760729, 0.319078, -0.079807}, {0.090568, 0.889315, 0.020117}, {-0.006027, 0.013325, 0.992702}},
        {{0.675425, 0.433850, -0.109275}, {0.125303, 0.847755, 0.026942}, {-0.007950, 0.018572, 0.989378}},
        {{0.605511, 0.528560, -0.134071}, {0.155318, 0.812366, 0.032316}, {-0.009376, 0.023176, 0.986200}},
        {{0.547494, 0.607765, -0.155259}, {0.181692, 0.781742, 0.036566}, {-0.010410, 0.027275, 0.983136}},
        {{0.498864, 0.674741, -0.173604}, {0.205199, 0.754872, 0.039929}, {-0.011131, 0.030969, 0.980162}},
        {{0.457771, 0.731899, -0.189670}, {0.226409, 0.731012, 0.042579}, {-0.011595, 0.034333, 0.977261}},
        {{0.422823, 0.781057, -0.203881}, {0.245752, 0.709602, 0.044646}, {-0.011843, 0.037423, 0.974421}},
        {{0.392952, 0.823610, -0.216562}, {0.263559, 0.690210, 0.046232}, {-0.011910, 0.040281, 0.971630}},
        {{0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413}, {-0.011820, 0.042940, 0.968881}},
    },
    {   // tritanomaly
        {{1.000000, 0.000000, 0.000000}, {0.000000, 1.000000, 0.000000}, {0.000000, 0.000000, 1.000000}},
        {{0.926670, 0.092514, -0.019184}, {0.021191, 0.964503, 0.014306}, {0.008437, 0.054813, 0.936750}},
        {{0.895720, 0.133330, -0.029050}, {0.029997, 0.945400, 0.024603}, {0.013027, 0.104707, 0.882266}},
        {{0.905871, 0.127791, -0.033662}, {0.026856, 0.941251, 0.031893}, {0.013410, 0.148296, 0.838294}},
        {{0.948035, 0.089490, -0.037526}, {0.014364, 0.946792, 0.038844}, {0.010853, 0.193991, 0.795156}},
        {{1.017277, 0.027029, -0.044306}, {-0.006113, 0.958479, 0.047634}, {0.006379, 0.248708, 0.744913}},
        {{1.104996, -0.046633, -0.058363}, {-0.032137, 0.971635, 0.060503}, {0.001336, 0.317922, 0.680742}},
        {{1.193214, -0.109812, -0.083402}, {-0.058496, 0.979410, 0.079086}, {-0.002346, 0.403492, 0.598854}},
        {{1.257728, -0.139648, -0.118081}, {-0.078003, 0.975409, 0.102594}, {-0.003316, 0.501214, 0.502102}},
        {{1.278864, -0.125333, -0.153531}, {-0.084748, 0.957674, 0.127074}, {-0.000989, 0.601151, 0.399838}},
        {{1.255528, -0.076749, -0.178779}, {-0.078411, 0.930809, 0.147602}, {0.004733, 0.691367, 0.303900}},
    },
};

// Y of linear sRGB: the middle row of the inverse of IEC 61966-2-1's XYZ to
// sRGB matrix.
constexpr double lumaR = 0.21258623078559552;
constexpr double lumaG = 0.7151703037034108;
constexpr double lumaB = 0.0722004986433362;

const std::array<double, 256> &linearTable()
{
    static const std::array<double, 256> table = [] {
        std::array<double, 256> t{};
        for (int i = 0; i < 256; ++i) {
            const double c = i / 255.0;
            t[i] = c < 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        }
        return t;
    }();
    return table;
}

int encode(double linear)
{
    const double c = std::clamp(linear, 0.0, 1.0);
    const double v = c <= 0.0031308 ? c * 12.92 : 1.055 * std::pow(c, 1 / 2.4) - 0.055;
    return int(std::lround(v * 255));
}

struct Word
{
    VisionSimulation::Deficiency deficiency;
    const char *keyword;
    const char *full;
    const char *anomalous;
};

const Word words[] = {
    {VisionSimulation::Deficiency::None, "normal", "Normal vision", "Normal vision"},
    {VisionSimulation::Deficiency::Protanopia, "protanopia", "Protanopia", "Protanomaly"},
    {VisionSimulation::Deficiency::Deuteranopia, "deuteranopia", "Deuteranopia", "Deuteranomaly"},
    {VisionSimulation::Deficiency::Tritanopia, "tritanopia", "Tritanopia", "Tritanomaly"},
    {VisionSimulation::Deficiency::Achromatopsia, "achromatopsia", "Achromatopsia",
     "Achromatopsia"},
};

const Word &wordOf(VisionSimulation::Deficiency deficiency)
{
    for (const Word &word : words)
        if (word.deficiency == deficiency)
            return word;
    return words[0];
}

} // namespace

const VisionSimulation::Deficiency VisionSimulation::deficiencies[5] = {
    Deficiency::None, Deficiency::Protanopia, Deficiency::Deuteranopia, Deficiency::Tritanopia,
    Deficiency::Achromatopsia};

bool VisionSimulation::Vision::operator==(const Vision &other) const
{
    if (deficiency != other.deficiency)
        return false;
    return !hasSeverity(deficiency) || std::abs(severity - other.severity) < 1e-9;
}

bool VisionSimulation::hasSeverity(Deficiency deficiency)
{
    return deficiency == Deficiency::Protanopia || deficiency == Deficiency::Deuteranopia
        || deficiency == Deficiency::Tritanopia;
}

VisionSimulation::VisionSimulation(Vision vision) : m_vision(vision)
{
    if (!hasSeverity(vision.deficiency)) {
        m_vision.severity = 1.0;
        return;
    }
    m_vision.severity = std::clamp(vision.severity, 0.0, 1.0);
    const int kind = int(vision.deficiency) - int(Deficiency::Protanopia);
    // Interpolated between the tenths around the severity, as the authors
    // suggest for severities between their published steps.
    const double tenths = m_vision.severity * 10;
    const int low = std::min(int(std::floor(tenths + 1e-9)), 10);
    const int high = std::min(low + 1, 10);
    const double f = std::clamp(tenths - low, 0.0, 1.0);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            m_matrix[r][c] = (1 - f) * machado[kind][low][r][c] + f * machado[kind][high][r][c];
}

QRgb VisionSimulation::simulate(QRgb rgb) const
{
    if (isNormal())
        return rgb;
    const auto &lin = linearTable();
    const double in[3] = {lin[qRed(rgb)], lin[qGreen(rgb)], lin[qBlue(rgb)]};
    if (m_vision.deficiency == Deficiency::Achromatopsia) {
        const int y = encode(lumaR * in[0] + lumaG * in[1] + lumaB * in[2]);
        return qRgba(y, y, y, qAlpha(rgb));
    }
    int out[3];
    for (int r = 0; r < 3; ++r)
        out[r] = encode(m_matrix[r][0] * in[0] + m_matrix[r][1] * in[1] + m_matrix[r][2] * in[2]);
    return qRgba(out[0], out[1], out[2], qAlpha(rgb));
}

std::optional<VisionSimulation::Vision> VisionSimulation::parse(const QString &text)
{
    const QStringList parts = text.trimmed().toLower().split(QLatin1Char(':'));
    if (parts.size() > 2)
        return std::nullopt;
    for (const Word &word : words) {
        if (parts.first() != QLatin1String(word.keyword))
            continue;
        Vision vision{word.deficiency, 1.0};
        if (parts.size() == 2) {
            if (!hasSeverity(word.deficiency))
                return std::nullopt;
            bool ok = false;
            const double severity = parts.at(1).toDouble(&ok);
            if (!ok || !(severity >= 0.1 && severity <= 1.0))
                return std::nullopt;
            vision.severity = severity;
        }
        return vision;
    }
    return std::nullopt;
}

QString VisionSimulation::keyword(Deficiency deficiency)
{
    return QString::fromLatin1(wordOf(deficiency).keyword);
}

QString VisionSimulation::keyword(const Vision &vision)
{
    QString text = keyword(vision.deficiency);
    if (hasSeverity(vision.deficiency) && vision.severity < 1.0)
        text += QLatin1Char(':') + QString::number(vision.severity, 'g', 3);
    return text;
}

QString VisionSimulation::title(const Vision &vision)
{
    const Word &word = wordOf(vision.deficiency);
    if (hasSeverity(vision.deficiency) && vision.severity < 1.0)
        return QString::fromLatin1(word.anomalous) + QLatin1Char(' ')
            + QString::number(vision.severity, 'f', 1);
    return QString::fromLatin1(word.full);
}
