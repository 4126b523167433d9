// SPDX-License-Identifier: MIT
#pragma once

#include "colour/NearestColours.h"

class CardTable;

// The nearest-colour search over the card: every card colour with its
// L*a*b*, read from the card table in one run. The one place the search is
// set up, for the import, the find dialog and the command line.
class CardSearch
{
public:
    static NearestColours build(CardTable *card);
};
