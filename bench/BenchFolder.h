// SPDX-License-Identifier: MIT
#pragma once

#include "ProgramFolder.h"

#include <QString>

#include <memory>

// A program folder for measuring: the real movies, and a card database that
// is the shipped card, a generated card of 100,000 colours, or a card of
// two long pages (1,000 colours on page 1, 10,000 on page 2), with a
// collection of a given size.
class BenchFolder
{
public:
    enum class Card { Shipped, Large, LongPages };

    BenchFolder(Card card, int collectionSize);

    QString path() const { return m_folder.path(); }
    QString databasePath() const { return m_folder.databasePath(); }

    // A code of the card on a given page, and one that is on no page.
    QString codeOnPage(int page) const;
    static QString missingCode() { return QStringLiteral("ZZ.99.99"); }
    int pages() const { return m_pages; }

    // Removes the collection entries whose code starts with prefix, so that
    // a benchmark that adds entries leaves the collection at its size.
    void removeEntries(const QString &prefix) const;

    // Folders are costly to make: each kind is made once and shared.
    static BenchFolder &shared(Card card, int collectionSize);

private:
    ProgramFolder m_folder;
    int m_pages = 0;
};
