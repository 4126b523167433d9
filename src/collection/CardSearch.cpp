// SPDX-License-Identifier: MIT
#include "collection/CardSearch.h"

#include "colour/ColourSpace.h"
#include "data/CardTable.h"

QVector<CardColour> CardSearch::colours(CardTable *card)
{
    const QVector<CardEntry> entries = card->all().value;
    QVector<CardColour> colours;
    colours.reserve(entries.size());
    for (const CardEntry &c : entries)
        colours.append({c.sn, c.code, c.colour.rgb(), Lab()});
    return colours;
}

NearestColours CardSearch::build(QVector<CardColour> colours)
{
    for (CardColour &c : colours)
        c.lab = ColourSpace::labFromRgb(c.rgb);
    return NearestColours(std::move(colours));
}

NearestColours CardSearch::build(CardTable *card)
{
    return build(colours(card));
}
