// SPDX-License-Identifier: MIT
#pragma once

#include "data/TableResult.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <functional>

class DataCursor;

// One entry of the collection: its serial number, the card table it names
// and its code.
struct CollectionEntry
{
    QVariant sn;
    QString table;
    QString code;
    // The table and code as the file holds them: text, or a number or blob
    // another program stored. A delete finds the row by these.
    QVariant storedTable;
    QVariant storedCode;
};

// The collection table baby2, read and written through the collection
// cursor (Adodc1) in sn order. Positions count from 1. Every count and every
// entry read follows what the file holds now, other programs' commits
// included; reading again costs a check of the file's version while nothing
// changed. Each call is one wait for other programs' locks (UserAction),
// refused Busy past it; a busy file never ends the program.
class CollectionTable
{
public:
    explicit CollectionTable(DataCursor *entries);

    // Reads the collection in the database file at path.
    void open(const QString &databasePath);

    // The number of entries in the file now; refused Busy while another
    // program holds the file.
    TableResult<int> count();
    // The entry at position (1 ... count()), read afresh; the cursor rests
    // on it afterwards.
    TableResult<CollectionEntry> at(int position);
    // Every entry, in sn order, read in one pass; none when refused.
    TableResult<QVector<CollectionEntry>> all();
    // Hands each entry to visit, in sn order, in one run of the statement,
    // as it is read: none is kept, in the cursor or elsewhere. False when
    // the collection could not all be read; refused Busy while another
    // program holds the file.
    TableResult<bool> readEach(const std::function<void(const CollectionEntry &entry)> &visit);
    // Whether any entry has exactly this code, whichever card it names.
    TableResult<bool> contains(const QString &code);
    // Adds an entry for code of the card table named table; true only when
    // the file made the row.
    TableResult<bool> add(const QString &table, const QString &code);
    // Deletes the entry with exactly this serial number, table and code as
    // the file holds them; false, deleting nothing, when there is none
    // (refused Gone).
    TableResult<bool> remove(const CollectionEntry &entry);

    // Adds entries for many codes, in the transaction the caller holds: for
    // an import. False, adding nothing more, at the first that cannot be
    // added.
    TableResult<bool> addMany(const QString &table, const QStringList &codes);
    // The write transaction of an import, taken before anything is read,
    // so that what is read inside it (which codes are collected) stays true
    // until the commit: another program's add meanwhile is seen, not doubled.
    // beginWrite waits for other programs' locks like any write.
    WriteRefusal beginWrite(bool *ok);
    WriteRefusal commitWrite(bool *ok);
    void rollbackWrite();
    // Puts a deleted entry back with its own sn, so that it stands at its
    // old place: only when that sn is free and the code is not collected
    // again.
    enum class Restore { Done, SnTaken, CodeCollected, Refused };
    TableResult<Restore> restore(const CollectionEntry &entry);
    // Reads the collection afresh after a change made past the cursor (an
    // import, a restore).
    void reread();
    // The position (1 ...) of the entry with serial number sn; 0 if none.
    int positionOf(const QVariant &sn);

    QString databasePath() const;

private:
    // The result of what the cursor just ran.
    template <typename T>
    TableResult<T> answer(T value) const;
    // Sets the cursor to the collection and runs it.
    void refresh();

    DataCursor *m_entries;
};
