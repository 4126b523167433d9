#pragma once

#include "widgets/AccessiblePicture.h"

class Swatch;

// What a screen reader finds of a swatch: a selectable list item named by
// the card panel (code, place in the column, page), described by its
// colour, whose press action does what a click does.
class AccessibleSwatch : public AccessiblePicture
{
public:
    explicit AccessibleSwatch(Swatch *swatch);

    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
};
