// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QVariantList>

// One statement a data cursor runs: its SQL text with '?' placeholders and
// the values bound to them. A statement that reads every row of one table
// names that table and its key column: rows can then be added to its result
// and deleted from it, and, when ordered by the key, its rows are reached
// by key rather than by counting from the first.
struct Statement
{
    QString sql;
    QVariantList values;
    QString table;          // the whole table read; empty: read only
    QString key;            // that table's unique key column
    bool orderedByKey = false;
    QString what;           // the table in the user's words, for messages

    bool operator==(const Statement &o) const
    {
        return sql == o.sql && values == o.values && table == o.table && key == o.key
               && orderedByKey == o.orderedByKey && what == o.what;
    }
};
