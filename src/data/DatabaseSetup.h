// SPDX-License-Identifier: MIT
#pragma once

#include "data/CardRow.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

class Connection;

// Every change the program makes to a database file other than the user's
// own additions and deletions: creating a new one from the card it ships,
// and bringing an existing one up to date when the program ships a newer
// card or a newer schema. Each change is one transaction, so a kill at any
// moment leaves the file as it was or as it is meant to be, with the whole
// collection either way.
namespace DatabaseSetup {

// The schema version this program writes (PRAGMA user_version). 2: the
// collection's serial numbers are never reused (AUTOINCREMENT).
constexpr int schemaVersion = 2;
// The version of the card the program ships. Raise it whenever
// data/card5327.csv changes: databases holding an older card then get the
// new one at their next start, with their collection kept.
constexpr int cardVersion = 2;

// The statements that make a card table and the collection table.
QStringList cardTableSql(const QString &table);
QStringList collectionTableSql();

// Creates a database at path with the card table, the card's version and an
// empty collection. It is built under a temporary name beside path and
// moved into place only when complete; an existing file is never replaced
// (false, with error set).
bool create(const QString &path, const QVector<CardRow> &card, int cardVersion, QString *error);

struct Outcome
{
    enum Kind {
        UpToDate,   // nothing to do
        Updated,    // the card or the schema was brought up to date
        Skipped,    // it could not be changed now: see message
        NotOurs,    // not a database with a card and a collection: left alone
        Newer       // made by a newer version of the program: left whole,
                    // to be opened read-only (message says so)
    };
    Kind kind = UpToDate;
    QString message;
};

// Brings the database at path up to date, in one transaction: when the
// card it holds is older than cardVersion, the card table is replaced by
// card(); when its collection table hands out serial numbers again, or
// keeps them in a column that is not the row id, the table is made anew
// with every row and every serial number as they were, its own indexes and
// triggers included. A collection whose serial numbers are null or repeated
// cannot be made so and is left as it is, as is one with columns of another
// program's. A file that cannot be written or is locked by another program
// is left as it is (Skipped, with the reason).
// A file whose schema or card is newer than this program knows is left
// whole (Newer).
Outcome migrate(const QString &path, int cardVersion, const std::function<QVector<CardRow>()> &card);

// Waits until the database at path can be read, for UserAction's busy
// timeout at most, trying again and again with the engine told not to wait:
// between tries nothing of the engine's is under way, and stillWaiting is
// called once the wait has lasted a second. False when another program held
// the file all that time.
bool waitUntilReadable(const QString &path, const std::function<void()> &stillWaiting);

// What migrate would find of a newer version, without changing anything:
// for a file the user named, which is never brought up to date.
Outcome inspect(const QString &path);

// Why the file behind connection is newer than this program (both
// versions named), or empty: its schema (user_version) or the card version
// its meta table holds is higher than the program's. The meta table is the
// truth; the header's copy of the card version is only a shortcut.
QString newerThanProgram(Connection &connection);

} // namespace DatabaseSetup
