// SPDX-License-Identifier: MIT
#include "RowPixels.h"

#include <QAbstractItemView>
#include <QImage>
#include <QPalette>

namespace {

int countOf(QAbstractItemView *view, int row, const QVector<QRgb> &colours)
{
    const QImage image = view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QAbstractItemModel *model = view->model();
    QRect area;
    for (int column = 0; column < model->columnCount(); ++column)
        area |= view->visualRect(model->index(row, column));
    area &= image.rect();
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            count += colours.contains(image.pixel(x, y) | 0xff000000u) ? 1 : 0;
    }
    return count;
}

} // namespace

int RowPixels::count(QAbstractItemView *view, int row, const QColor &colour)
{
    return countOf(view, row, {colour.rgb()});
}

int RowPixels::selection(QAbstractItemView *view, int row)
{
    const QPalette &palette = view->palette();
    return countOf(view, row, {palette.color(QPalette::Active, QPalette::Highlight).rgb(),
                               palette.color(QPalette::Inactive, QPalette::Highlight).rgb()});
}
