// SPDX-License-Identifier: MIT
#pragma once

#include "data/Statement.h"

// The statements the program issues, written once for SQLite: table names
// are quoted identifiers (a card table's name is made of digits), every code
// is a bound value and never spliced into the SQL text.
namespace Statements {

// The card table that the page view and the code lookup read.
inline constexpr const char *cardTable = "5327";

// Quotes a table name as an SQL identifier.
QString quoted(const QString &table);

// True when a name read from the database can stand as a card table name:
// letters, digits and underscores only.
bool isPlainIdentifier(const QString &name);

Statement highestPage(const QString &table);             // column Expr1000: 1 ... 2^53 or null
Statement collection();                                   // baby2, in sn order
// The entries that have serial number sn or exactly this code.
Statement collectionEntry(const QVariant &sn, const QString &code);
// The position of the entry with serial number sn (column "position").
Statement collectionPosition(const QVariant &sn);
Statement page(qint64 pageNumber);                        // one page, by Row
Statement codeLookup(const QString &code);                // rows with that code
Statement cardReset();                                    // whole card, by Sn
Statement cardCodes();                                    // every code, in no set order
Statement entryColour(const QString &table, const QString &code);
// The colour columns (Code, R, G, B) a table has: all four only for a card
// table; none when the table does not exist.
Statement colourColumns(const QString &table);

} // namespace Statements
