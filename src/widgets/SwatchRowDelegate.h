// SPDX-License-Identifier: MIT
#pragma once

#include <QStyledItemDelegate>

// Paints the cells of a view whose rows hold colour squares (SwatchIcon) so
// that each square keeps its own colour: the style's focus frame, which
// fills the cell with a tint over what it holds, gives way to the window's
// focus cue round the cell. For a view that shows focus cell by cell, not
// across the row (allColumnsShowFocus off), whose frame is drawn over the
// whole row.
class SwatchRowDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit SwatchRowDelegate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
