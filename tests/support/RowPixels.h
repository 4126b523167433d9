// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>

class QAbstractItemView;

// What an item view paints for one of its rows, read from a grab of it.
namespace RowPixels {

// How many of the row's pixels are exactly colour.
int count(QAbstractItemView *view, int row, const QColor &colour);
// How many are the selection's colour, with the window active or not.
int selection(QAbstractItemView *view, int row);

} // namespace RowPixels
