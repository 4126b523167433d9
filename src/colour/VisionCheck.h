// SPDX-License-Identifier: MIT
#pragma once

#include "colour/VisionSimulation.h"

#include <QByteArray>
#include <QRgb>
#include <QStringList>
#include <QVector>

// Which colours a person with a colour-vision deficiency cannot tell apart:
// the pairs whose CIEDE2000 between the simulated colours (full severity,
// taken on the 8-bit simulated sRGB) is below confusedBelow while it is
// distinctFrom or more in normal vision.
class VisionCheck
{
public:
    static constexpr double confusedBelow = 3.0;
    static constexpr double distinctFrom = 10.0;

    struct Pair
    {
        VisionSimulation::Deficiency deficiency;
        int first;   // indices into the colours checked, first < second
        int second;
        QRgb firstSeen;   // as that eye sees them
        QRgb secondSeen;
        double seenDeltaE;
        double normalDeltaE;
    };

    // The deficiencies checked, each at full severity, in this order.
    static const VisionSimulation::Deficiency checked[4];

    // Every confused pair among colours, by deficiency in the order above,
    // then by first and second index.
    static QVector<Pair> confusions(const QVector<QRgb> &colours);

    // The pairs as CSV under a header, one a row: the deficiency, both
    // codes, both colours as they are and as seen, both differences.
    // codes and colours are the lists the pairs index.
    static QByteArray csv(const QVector<Pair> &pairs, const QStringList &codes, const QVector<QRgb> &colours);
};
