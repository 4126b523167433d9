// SPDX-License-Identifier: MIT
#include "collection/CardSearch.h"

#include "colour/CardColour.h"
#include "colour/ColourSpace.h"
#include "data/CardTable.h"

NearestColours CardSearch::build(CardTable *card)
{
    const QVector<CardEntry> entries = card->all();
    QVector<CardColour> colours;
    colours.reserve(entries.size());
    for (const CardEntry &c : entries)
        colours.append({c.sn, c.code, c.colour.rgb(), ColourSpace::labFromRgb(c.colour.rgb())});
    return NearestColours(colours);
}
