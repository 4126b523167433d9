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

    // Keeps a child of a picture box out of what a screen reader finds:
    // one never shown, or one whose children it finds elsewhere.
    static void leaveOut(QWidget *child);

    QAccessible::Role role() const override;
    QString text(QAccessible::Text t) const override;
    // The box's child widgets, but those left out.
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;

protected:
    PictureBox *box() const;

private:
    QList<QWidget *> children() const;
};
