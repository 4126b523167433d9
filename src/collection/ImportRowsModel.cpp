// SPDX-License-Identifier: MIT
#include "collection/ImportRowsModel.h"

#include "widgets/SwatchIcon.h"

#include <QColor>

#include <algorithm>

ImportRowsModel::ImportRowsModel(const PaletteImport::Plan &plan, QObject *parent)
    : QAbstractTableModel(parent), m_plan(plan), m_ticks(size_t(plan.rows.size()), false)
{
    for (int i = 0; i < plan.rows.size(); ++i) {
        if (takeable(plan.rows.outcome(i))) {
            m_ticks[size_t(i)] = true;
            ++m_ticked;
        }
    }
}

bool ImportRowsModel::takeable(PaletteImport::Outcome outcome)
{
    return outcome == PaletteImport::Outcome::ByCode || outcome == PaletteImport::Outcome::Nearest;
}

int ImportRowsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_plan.rows.size());
}

int ImportRowsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QIcon ImportRowsModel::swatch(QRgb rgb) const
{
    auto it = m_swatches.constFind(rgb);
    if (it != m_swatches.constEnd())
        return *it;
    return *m_swatches.insert(rgb, SwatchIcon::of(QColor(rgb), 16, true));
}

QVariant ImportRowsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_plan.rows.size())
        return QVariant();
    const int column = index.column();
    if (role == Qt::CheckStateRole && column == PaletteColumn && takeable(m_plan.rows.outcome(index.row())))
        return m_ticks[size_t(index.row())] ? Qt::Checked : Qt::Unchecked;
    if (role != Qt::DecorationRole && role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return QVariant();
    // Put together for the rows the view shows, and only those.
    const PaletteImport::Row row = m_plan.rows.at(index.row());
    if (role == Qt::DecorationRole) {
        if (column == PaletteColumn && row.rgb)
            return swatch(*row.rgb);
        if (column == CardColumn && !row.code.isEmpty())
            return swatch(row.cardRgb);
        return QVariant();
    }
    switch (column) {
    case PaletteColumn: {
        const QString name = row.name.isEmpty() ? tr("(no name)") : row.name;
        return row.rgb ? QStringLiteral("%1  %2").arg(name, QColor(*row.rgb).name()) : name;
    }
    case CardColumn:
        return row.code.isEmpty() ? QString() : QStringLiteral("%1  %2").arg(row.code, QColor(row.cardRgb).name());
    case DeltaColumn:
        return row.deltaE >= 0 ? QString::number(row.deltaE, 'f', 2) : QString();
    case NoteColumn:
        switch (row.outcome) {
        case PaletteImport::Outcome::ByCode:
            return tr("taken by code");
        case PaletteImport::Outcome::Nearest:
            return tr("nearest card colour");
        case PaletteImport::Outcome::Collected:
            return tr("skipped: collected already");
        case PaletteImport::Outcome::Merged:
            return tr("skipped: an earlier colour becomes %1").arg(row.code);
        case PaletteImport::Outcome::Unread:
            return tr("not read: %1").arg(row.why);
        }
        break;
    default:
        break;
    }
    return QVariant();
}

bool ImportRowsModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::CheckStateRole || index.column() != PaletteColumn
        || !takeable(m_plan.rows.outcome(index.row())))
        return false;
    const bool tick = value.toInt() == Qt::Checked;
    if (m_ticks[size_t(index.row())] != tick) {
        m_ticks[size_t(index.row())] = tick;
        m_ticked += tick ? 1 : -1;
        emit dataChanged(index, index, {Qt::CheckStateRole});
    }
    return true;
}

Qt::ItemFlags ImportRowsModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == PaletteColumn && takeable(m_plan.rows.outcome(index.row())))
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant ImportRowsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    switch (section) {
    case PaletteColumn:
        return tr("Palette colour");
    case CardColumn:
        return tr("Card colour");
    case DeltaColumn:
        return tr("\u0394E00");
    case NoteColumn:
        return tr("What happens");
    default:
        return QVariant();
    }
}

void ImportRowsModel::setLimit(double limit)
{
    for (int i = 0; i < m_plan.rows.size(); ++i) {
        if (!takeable(m_plan.rows.outcome(i)) || m_plan.rows.byCode(i))
            continue;
        const bool tick = m_plan.rows.deltaE(i) <= limit;
        if (m_ticks[size_t(i)] != tick) {
            m_ticks[size_t(i)] = tick;
            m_ticked += tick ? 1 : -1;
        }
    }
    if (!m_plan.rows.isEmpty())
        emit dataChanged(index(0, PaletteColumn), index(int(m_plan.rows.size()) - 1, PaletteColumn), {Qt::CheckStateRole});
}

double ImportRowsModel::farthestMatch() const
{
    double farthest = 0;
    for (int i = 0; i < m_plan.rows.size(); ++i) {
        if (!m_plan.rows.byCode(i))
            farthest = std::max(farthest, m_plan.rows.deltaE(i));
    }
    return farthest;
}

QVector<bool> ImportRowsModel::ticks() const
{
    QVector<bool> ticks(m_plan.rows.size());
    for (int i = 0; i < ticks.size(); ++i)
        ticks[i] = m_ticks[size_t(i)];
    return ticks;
}
