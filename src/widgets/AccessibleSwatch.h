// SPDX-License-Identifier: MIT
#pragma once

#include "widgets/AccessiblePicture.h"

class Swatch;

// What a screen reader finds of a swatch: a selectable item of the list
// the card panel put it in, named by its code, its colour in words and the
// place the card panel gave it ("K8.04.43, greyish green, page 194, row 6
// of 8"), described by its colour in sRGB, selected and focused when
// framed while its list has the keyboard, whose press action does what a
// click does.
class AccessibleSwatch : public AccessiblePicture
{
public:
    explicit AccessibleSwatch(Swatch *swatch);

    QAccessibleInterface *parent() const override;
    QAccessible::Role role() const override;
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
};
