// SPDX-License-Identifier: MIT
#pragma once

#include "colour/PaletteEntry.h"
#include "colour/VisionSimulation.h"

#include <QPageSize>
#include <QString>
#include <QVector>

class QPagedPaintDevice;
class QPainter;
class QRectF;
class QTransform;

// The collection, or the whole card, on paper: a patch per colour with its
// code, #rrggbb, L*a*b* (D65) and its card page and row. The whole card
// puts each card page on a sheet page of its own. Written as PDF/A-1b, whose
// output intent says the numbers are sRGB, or sent to a printer.
class SwatchSheet
{
public:
    SwatchSheet(QVector<PaletteEntry> entries, bool wholeCard);

    // Patches painted as that eye sees them, said on every page; the codes
    // and values printed stay the card's.
    void setVision(const VisionSimulation::Vision &vision) { m_vision = VisionSimulation(vision); }
    // What every page says of such a sheet; empty in normal vision.
    static QString visionNote(const VisionSimulation::Vision &vision);

    // The paper of the user's locale (LC_PAPER): Letter or A4.
    static QPageSize localPaper();

    // Writes the sheet to path, whole or not at all; on failure says why.
    bool writePdf(const QString &path, QString *error) const;
    // Lays the sheet out on a device, a printer the user has set up among
    // them; docName() is its name in a printer's queue.
    void paint(QPagedPaintDevice *device) const;
    QString docName() const;

private:
    void paintEntry(QPainter &painter, const PaletteEntry &entry, const QRectF &box, const QTransform &mm) const;

    QVector<PaletteEntry> m_entries;
    bool m_wholeCard;
    VisionSimulation m_vision;
};
