// SPDX-License-Identifier: MIT
#pragma once

#include <QRgb>
#include <QString>

#include <optional>

// How a colour looks to an eye with a colour-vision deficiency. Protan,
// deutan and tritan vision follow Machado, Oliveira and Fernandes, "A
// Physiologically-based Model for Simulation of Color Vision Deficiency"
// (IEEE TVCG 15(6), 2009): their published matrices on linear sRGB, one for
// each tenth of severity, interpolated in between. Achromatopsia keeps only
// the luminance Y of linear sRGB. Results are clipped to 0-1 in linear light,
// then encoded as sRGB and rounded.
class VisionSimulation
{
public:
    enum class Deficiency { None, Protanopia, Deuteranopia, Tritanopia, Achromatopsia };

    struct Vision
    {
        Deficiency deficiency = Deficiency::None;
        // 0.1-1.0 for the first three (anomalous trichromacy below 1);
        // achromatopsia and normal vision have none.
        double severity = 1.0;
        bool operator==(const Vision &other) const;
        bool operator!=(const Vision &other) const { return !(*this == other); }
    };

    VisionSimulation() = default;
    explicit VisionSimulation(Vision vision);

    Vision vision() const { return m_vision; }
    bool isNormal() const { return m_vision.deficiency == Deficiency::None; }

    // The 8-bit sRGB colour as this eye sees it; alpha is kept.
    QRgb simulate(QRgb rgb) const;

    // The deficiencies the program offers, normal vision first.
    static const Deficiency deficiencies[5];
    static bool hasSeverity(Deficiency deficiency);

    // "deuteranopia", "protanopia:0.6": the command line's and the CSV's
    // words. Anything else, or a severity outside 0.1-1.0, is nothing.
    static std::optional<Vision> parse(const QString &text);
    static QString keyword(Deficiency deficiency);
    static QString keyword(const Vision &vision);
    // "Deuteranopia", "Protanomaly 0.6": what the window shows.
    static QString title(const Vision &vision);

private:
    Vision m_vision;
    double m_matrix[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
};
