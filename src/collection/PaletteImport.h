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
#include <functional>
#include <initializer_list>
#include <limits>
#include <optional>

class CardTable;
struct PaletteEntry;

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

    // The rows of a plan, held compactly: the names one after another in
    // one string, each card code and reason once, and per row its colours,
    // place, ΔE and outcome in 40 bytes; a row is put together again when
    // it is asked for. A preview of millions of colours holds about 40
    // bytes and its name's characters a row, not a row of strings.
    class Rows
    {
    public:
        Rows() = default;
        Rows(std::initializer_list<Row> rows);

        void append(const Row &row);
        Row at(int i) const;
        int size() const { return int(m_rows.size()); }
        bool isEmpty() const { return m_rows.isEmpty(); }
        // What a loop over every row needs, without its strings.
        Outcome outcome(int i) const { return Outcome(m_rows.at(i).outcome); }
        bool byCode(int i) const { return m_rows.at(i).byCode; }
        double deltaE(int i) const { return m_rows.at(i).deltaE; }

    private:
        struct Compact
        {
            quint32 nameAt = 0;
            quint32 nameLength = 0;
            QRgb rgb = 0;
            QRgb cardRgb = 0;
            qint32 cardIndex = -1;
            qint32 text = -1;  // the code, or for an unread row the reason, in m_texts
            double deltaE = -1;
            quint8 outcome = 0;
            bool hasRgb = false;
            bool byCode = false;
        };

        QString m_names;
        QStringList m_texts;
        QHash<QString, int> m_codes;  // a code's place in m_texts
        QVector<Compact> m_rows;
    };

    struct Plan
    {
        bool ok = false;
        bool cancelled = false;
        QString path;
        QString error;      // when the file could not be read
        bool empty = false; // the file says it holds no colours
        Rows rows;          // in the file's order
        QString modelNote;  // how many were read from CMYK (profile and intent named) and Lab
        QString formatNote; // the format known by the bytes against the name, said
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
        QStringList unreadWhy;      // the first few reasons
        QString message;            // the report, a line a reason
        QString summary;            // its first line
    };

    // databasePath: the database whose collection takes the colours. The
    // card is read here, once; the nearest-colour search is set up only
    // when a palette colour has no card code for a name.
    PaletteImport(CardTable *card, const QString &databasePath);

    // Whether the file's name, or else its bytes, tell a format read.
    static bool canRead(const QString &path);
    QString databasePath() const { return m_databasePath; }

    // What is collected now, read without a lock: for the plan's view;
    // refused Busy while another program holds the file past the wait.
    TableResult<QSet<QString>> collectedNow() const;
    // Reads and matches; no database is touched. cancel, when given, is
    // looked at by the reader as it reads, so that a cancelled read stops
    // within milliseconds.
    Plan plan(const QString &path, const QSet<QString> &collected,
              const std::atomic_bool *cancel = nullptr) const;
    // Adds the rows of plan whose take is true (all when take is empty) and
    // whose nearest match is within maxDeltaE, in one write transaction.
    Result apply(const Plan &plan, const QVector<bool> &take = {},
                 double maxDeltaE = std::numeric_limits<double>::infinity());
    // plan() and apply() at once, as the command line imports.
    Result read(const QString &path, double maxDeltaE = std::numeric_limits<double>::infinity());

private:
    struct Matching;
    class Tally;
    // One palette colour's fate: the one decision the preview and the
    // command line share.
    Row classify(const PaletteEntry &entry, const QSet<QString> &collected, Matching &matching) const;
    // Reads the file and hands each row to take as it is decided, in the
    // file's order; the plan returned has no rows of its own.
    Plan scan(const QString &path, const QSet<QString> &collected, const std::atomic_bool *cancel,
              const std::function<void(Row &&)> &take) const;
    // Adds what tally counted within one write transaction, and reports.
    Result commit(const Plan &plan, const Tally &tally, double maxDeltaE);

    CardTable *m_card;
    QString m_databasePath;
    QVector<CardColour> m_colours;       // the card, L*a*b* left for the search
    QHash<QString, int> m_indexOfUpper;  // a code in capitals -> its place in m_colours
};
