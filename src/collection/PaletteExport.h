// SPDX-License-Identifier: MIT
#pragma once

#include "colour/VisionSimulation.h"
#include "data/WriteRefusal.h"

#include <QString>
#include <QVector>

class CardTable;
class CollectionTable;
struct PaletteEntry;

// The collection, or the whole card, written as a palette file that other
// programs read, in the format its name's suffix names (PaletteFormat).
// The file is written whole or not at all.
class PaletteExport
{
public:
    struct Result
    {
        bool ok = false;
        int written = 0;
        int skipped = 0;    // entries without a colour the format cannot hold
        QString message;    // what to tell the user, success or not
    };

    PaletteExport(CardTable *card, CollectionTable *collection);

    // Whether path's extension names a format that can be written.
    static bool canWrite(const QString &path);

    // A swatch sheet shows its patches as vision sees them.
    Result write(const QString &path, bool wholeCard, const VisionSimulation::Vision &vision = {});

    // The entries written: the collection in its order (an entry whose
    // colour is unknown has none), or the card in Sn order. Unless read
    // is true, they are not all there is: the card or the collection could
    // not be read, and refusal says why (another program holds the file).
    struct Entries
    {
        QVector<PaletteEntry> list;
        bool read = false;
        WriteRefusal refusal = WriteRefusal::None;
    };
    Entries entries(bool wholeCard);

private:
    CardTable *m_card;
    CollectionTable *m_collection;
};
