// SPDX-License-Identifier: MIT
#pragma once

#include "data/WriteRefusal.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

class DataCursor;

// One entry of the collection: its serial number, the card table it names
// and its code.
struct CollectionEntry
{
    QVariant sn;
    QString table;
    QString code;
};

// The collection table baby2, read and written through the collection
// cursor (Adodc1) in sn order. Positions count from 1. Every count and every
// entry read follows what the file holds now, other programs' commits
// included; reading again costs a check of the file's version while nothing
// changed.
class CollectionTable
{
public:
    explicit CollectionTable(DataCursor *entries);

    // Reads the collection in the database file at path.
    void open(const QString &databasePath);

    // The number of entries in the file now; 0, with refusal() Busy, when
    // another program holds the file.
    int count();
    // The entry at position (1 ... count()), read afresh; the cursor rests
    // on it afterwards.
    CollectionEntry at(int position);
    // Every entry, in sn order, read in one pass.
    QVector<CollectionEntry> all();
    // Whether any entry has exactly this code, whichever card it names.
    bool contains(const QString &code);
    // Adds an entry for code of the card table named table; true only when
    // the file took the row.
    bool add(const QString &table, const QString &code);
    // Deletes the entry with exactly this serial number, table and code;
    // false, deleting nothing, when there is none (refusal() Gone).
    bool remove(const CollectionEntry &entry);

    // Adds entries for many codes, in the transaction the caller holds: for
    // an import. False, adding nothing more, at the first that cannot be
    // added (refusal() says why when the file refused it).
    bool addMany(const QString &table, const QStringList &codes);
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
    Restore restore(const CollectionEntry &entry);
    // Reads the collection afresh after a change made past the cursor (an
    // import, a restore).
    void reread();
    // The position (1 ...) of the entry with serial number sn; 0 if none.
    int positionOf(const QVariant &sn);

    // Why the last add, remove or read made no change or read nothing,
    // when the file's state refused it.
    WriteRefusal refusal() const;
    QString databasePath() const;

private:
    DataCursor *m_entries;
    WriteRefusal m_refusal = WriteRefusal::None;  // of the last restore
};
