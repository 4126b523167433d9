// SPDX-License-Identifier: MIT
#include "colour/VisionCheck.h"

#include "colour/ColourSpace.h"
#include "colour/PaletteWriter.h"

#include <algorithm>
#include <array>
#include <cmath>

const VisionSimulation::Deficiency VisionCheck::checked[4] = {
    VisionSimulation::Deficiency::Protanopia, VisionSimulation::Deficiency::Deuteranopia,
    VisionSimulation::Deficiency::Tritanopia, VisionSimulation::Deficiency::Achromatopsia};

QVector<VisionCheck::Pair> VisionCheck::confusions(const QVector<QRgb> &colours)
{
    constexpr int kinds = std::size(checked);
    const int n = colours.size();
    // Every colour's L*a*b* as it is and as each eye sees it, worked out once:
    // the pairs then cost one difference each, or five where it matters.
    QVector<Lab> normal(n);
    std::array<QVector<QRgb>, kinds> seen;
    std::array<QVector<Lab>, kinds> seenLab;
    for (int k = 0; k < kinds; ++k) {
        seen[k].resize(n);
        seenLab[k].resize(n);
    }
    for (int i = 0; i < n; ++i) {
        normal[i] = ColourSpace::labFromRgb(colours[i]);
        for (int k = 0; k < kinds; ++k) {
            const VisionSimulation simulation({checked[k], 1.0});
            seen[k][i] = simulation.simulate(colours[i]);
            seenLab[k][i] = ColourSpace::labFromRgb(seen[k][i]);
        }
    }
    std::array<QVector<Pair>, kinds> found;
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            double apart = -1;  // in normal vision, measured once it matters
            for (int k = 0; k < kinds; ++k) {
                const Lab &a = seenLab[k][i];
                const Lab &b = seenLab[k][j];
                // CIEDE2000 is at least its lightness term |dL| / SL, and SL
                // is at most what the pair's mean lightness gives: most
                // pairs differ in lightness too much to be confused, and
                // need no full difference.
                const double meanL = (a.l + b.l) / 2 - 50;
                const double sl = 1 + 0.015 * meanL * meanL / std::sqrt(20 + meanL * meanL);
                if (std::abs(a.l - b.l) / sl >= confusedBelow)
                    continue;
                const double seenApart = ColourSpace::deltaE00(a, b);
                if (seenApart >= confusedBelow)
                    continue;
                if (apart < 0)
                    apart = ColourSpace::deltaE00(normal[i], normal[j]);
                if (apart < distinctFrom)
                    break;
                found[k].append({checked[k], i, j, seen[k][i], seen[k][j], seenApart, apart});
            }
        }
    }
    QVector<Pair> pairs;
    for (const QVector<Pair> &kind : found)
        pairs += kind;
    return pairs;
}

QByteArray VisionCheck::csv(const QVector<Pair> &pairs, const QStringList &codes, const QVector<QRgb> &colours)
{
    const auto hex = [](QRgb rgb) { return QStringLiteral("#%1").arg(rgb & 0xffffff, 6, 16, QLatin1Char('0')); };
    QByteArray out = "vision,code_1,code_2,hex_1,hex_2,seen_hex_1,seen_hex_2,delta_e_seen,delta_e_normal\r\n";
    for (const Pair &p : pairs) {
        out += VisionSimulation::keyword(p.deficiency).toLatin1();
        for (const QString &code : {codes.at(p.first), codes.at(p.second)}) {
            out += ',';
            PaletteWriter::appendCsvField(out, code);
        }
        for (QRgb rgb : {colours.at(p.first), colours.at(p.second), p.firstSeen, p.secondSeen})
            out += ',' + hex(rgb).toLatin1();
        out += ',' + QByteArray::number(p.seenDeltaE, 'f', 2) + ',' + QByteArray::number(p.normalDeltaE, 'f', 2)
            + "\r\n";
    }
    return out;
}
