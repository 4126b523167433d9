// SPDX-License-Identifier: MIT
#pragma once

#include "widgets/AccessiblePicture.h"

class Swatch;

// What a screen reader finds of a swatch: a selectable list item named by
// its code and the place the card panel gave it ("K8.04.43, row 6 of 8,
// page 194"), described by its colour, whose press action does what a
// click does.
class AccessibleSwatch : public AccessiblePicture
{
public:
    explicit AccessibleSwatch(Swatch *swatch);

    QAccessible::Role role() const override;
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
};
