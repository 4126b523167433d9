// SPDX-License-Identifier: MIT
#pragma once

#include "colour/CardColour.h"
#include "data/TableResult.h"

#include <QHash>
#include <QRgb>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

#include <atomic>
#include <limits>
#include <optional>

class CardTable;

// A palette file of another program brought into the collection, in two
// steps. plan() reads the file and decides for each palette colour the card
// colour it becomes: a name that is a code of the card is taken as that
// code, any other colour as the nearest card colour (CIEDE2000). It touches
// no database, so it may run away from the window's thread, and nothing is
// locked while the user looks at it. apply() then takes the write lock
// before it reads what is collected, and adds the rows taken in one
// transaction: all of them land, or nothing.
class PaletteImport
{
public:
    // What becomes of one palette colour.
    enum class Outcome {
        ByCode,     // its name is a card code
        Nearest,    // matched to the nearest card colour
        Collected,  // its card colour is collected already
        Merged,     // an earlier palette colour becomes the same card colour
        Unread,     // it could not be read (why says why)
    };

    struct Row
    {
        QString name;
        std::optional<QRgb> rgb;  // the palette's colour as shown on screen
        QString code;             // the card colour it becomes; empty for Unread
        bool byCode = false;      // taken by its name rather than matched
        int cardIndex = -1;       // the card colour's place in the card, Sn order
        QRgb cardRgb = 0;
        double deltaE = -1;       // between the two; -1 when the palette gave no colour
        Outcome outcome = Outcome::Unread;
        QString why;              // for Unread: where in the file and why
    };

    struct Plan
    {
        bool ok = false;
        bool cancelled = false;
        QString path;
        QString error;      // when the file could not be read
        QVector<Row> rows;  // in the file's order
        QString modelNote;  // how many were read from CMYK (profile and intent named) and Lab
    };

    struct Result
    {
        bool ok = false;
        int added = 0;
        int byCode = 0;             // added as the code the palette names
        int matched = 0;            // added as the nearest card colour
        double largestDeltaE = 0;   // of those
        QString largestName;        // the palette colour matched farthest, and its card colour
        QString largestCode;
        int collected = 0;          // collected already when the file was read
        int collectedMeanwhile = 0; // collected by another program since
        int merged = 0;
        int tooFar = 0;             // farther than the largest ΔE00 allowed
        int leftOut = 0;            // unticked in the preview
        int unread = 0;
        QStringList unreadWhy;
        QString message;            // the report, a line a reason
        QString summary;            // its first line
    };

    // databasePath: the database whose collection takes the colours. The
    // card is read here, once; the nearest-colour search is set up only
    // when a palette colour has no card code for a name.
    PaletteImport(CardTable *card, const QString &databasePath);

    static bool canRead(const QString &path);
    QString databasePath() const { return m_databasePath; }

    // What is collected now, read without a lock: for the plan's view;
    // refused Busy while another program holds the file past the wait.
    TableResult<QSet<QString>> collectedNow() const;
    // Reads and matches; no database is touched. cancel, when given, is
    // looked at between colours.
    Plan plan(const QString &path, const QSet<QString> &collected,
              const std::atomic_bool *cancel = nullptr) const;
    // Adds the rows of plan whose take is true (all when take is empty) and
    // whose nearest match is within maxDeltaE, in one write transaction.
    Result apply(const Plan &plan, const QVector<bool> &take = {},
                 double maxDeltaE = std::numeric_limits<double>::infinity());
    // plan() and apply() at once, as the command line imports.
    Result read(const QString &path, double maxDeltaE = std::numeric_limits<double>::infinity());

private:
    CardTable *m_card;
    QString m_databasePath;
    QVector<CardColour> m_colours;       // the card, L*a*b* left for the search
    QHash<QString, int> m_indexOfUpper;  // a code in capitals -> its place in m_colours
};
