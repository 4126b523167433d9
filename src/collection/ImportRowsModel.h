// SPDX-License-Identifier: MIT
#pragma once

#include "collection/PaletteImport.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QIcon>

#include <vector>

// The rows of an import's plan for the preview's view, each with its tick:
// the view asks only for the rows it shows, so that a palette of a million
// colours opens as fast as one of ten. Only rows that would be taken can be
// ticked.
class ImportRowsModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { PaletteColumn, CardColumn, DeltaColumn, NoteColumn, ColumnCount };

    explicit ImportRowsModel(const PaletteImport::Plan &plan, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Ticks the matched rows within limit, unticks those farther.
    void setLimit(double limit);
    // The farthest match, for the limit's first value.
    double farthestMatch() const;
    QVector<bool> ticks() const;
    int tickedCount() const { return m_ticked; }

    static bool takeable(PaletteImport::Outcome outcome);

private:
    QIcon swatch(QRgb rgb) const;

    const PaletteImport::Plan &m_plan;
    std::vector<bool> m_ticks;
    int m_ticked = 0;
    mutable QHash<QRgb, QIcon> m_swatches;
};
