// SPDX-License-Identifier: MIT
#pragma once

#include <QAccessibleWidget>

class PictureBox;

// What a screen reader finds of a picture box: a box with a picture (a
// panel) is a pane; a box of plain colour is a graphic whose description,
// unless one was set, is its colour in sRGB ("#626761, rgb(98, 103, 97)")
// or "unknown colour".
class AccessiblePicture : public QAccessibleWidget
{
public:
    explicit AccessiblePicture(PictureBox *box, QAccessible::Role role = QAccessible::Graphic);

    // Makes every PictureBox, and every Swatch, answer with its interface;
    // once is enough.
    static void installFactory();

    // A colour as the description gives it.
    static QString colourText(const QColor &colour);

    QAccessible::Role role() const override;
    QString text(QAccessible::Text t) const override;

protected:
    PictureBox *box() const;
};
