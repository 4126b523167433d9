// SPDX-License-Identifier: MIT
#include "widgets/SwatchRowDelegate.h"

#include "widgets/FocusCue.h"

#include <QPainter>

SwatchRowDelegate::SwatchRowDelegate(QObject *parent) : QStyledItemDelegate(parent)
{
}

void SwatchRowDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem cell(option);
    cell.state &= ~QStyle::State_HasFocus;
    QStyledItemDelegate::paint(painter, cell, index);
    if (option.state & QStyle::State_HasFocus)
        FocusCue::draw(*painter, option.rect);
}
