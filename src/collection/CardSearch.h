// SPDX-License-Identifier: MIT
#pragma once

#include "colour/CardColour.h"
#include "colour/NearestColours.h"

#include <QVector>

class CardTable;

// The nearest-colour search over the card: the one place it is set up, for
// the import, the find dialog and the command line.
class CardSearch
{
public:
    // Every card colour in Sn order, its L*a*b* not yet worked out: for a
    // caller that may not need the search at all.
    static QVector<CardColour> colours(CardTable *card);
    // The search over colours, each one's L*a*b* worked out here.
    static NearestColours build(QVector<CardColour> colours);
    // Both at once.
    static NearestColours build(CardTable *card);
};
