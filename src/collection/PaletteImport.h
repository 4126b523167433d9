// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class CardTable;

// A palette file of another program (.gpl, .ase or .csv) brought into the
// collection: a name that is a code of the card is taken as that code, any
// other colour as the nearest card colour (CIEDE2000); colours already
// collected are skipped. The whole import is one transaction: all of it
// lands, or nothing.
class PaletteImport
{
public:
    struct Result
    {
        bool ok = false;
        int added = 0;      // new entries
        int matched = 0;    // of those, colours matched to the nearest card colour
        int skipped = 0;    // collected already, or neither a code nor a colour
        QString message;    // what to tell the user
    };

    // databasePath: the database whose collection takes the colours.
    PaletteImport(CardTable *card, const QString &databasePath);

    static bool canRead(const QString &path);

    Result read(const QString &path);

private:
    CardTable *m_card;
    QString m_databasePath;
};
