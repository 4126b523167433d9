// SPDX-License-Identifier: MIT
#pragma once

#include "colour/VisionSimulation.h"

#include <QColor>
#include <QHash>
#include <QObject>

// How the card's own colours are painted: as the eye the user chose sees
// them (normal vision unless a simulation is on), then through the
// display's profile. Only the paint changes: the colours the program keeps,
// copies, exports and says stay the card's. Interface colours do not pass
// here. Every start is in normal vision.
class CardPaint : public QObject
{
    Q_OBJECT

public:
    static CardPaint *instance();

    // What to paint for a card colour.
    static QColor of(const QColor &card);
    // The card colour as the chosen eye sees it, before the display's profile.
    static QColor seen(const QColor &card);

    static VisionSimulation::Vision vision();
    // Changes the simulation and repaints what shows card colours.
    static void setVision(const VisionSimulation::Vision &vision);

signals:
    void visionChanged();

private:
    CardPaint() = default;

    VisionSimulation m_simulation;
    QHash<QRgb, QRgb> m_seen;  // per colour, as the display profile's paint is
};
