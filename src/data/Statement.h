#pragma once

#include <QString>
#include <QVariantList>

// One statement a data cursor runs: its SQL text with '?' placeholders, the
// values bound to them, and, for a result that rows can be added to or
// deleted from, the table it reads and that table's key column.
struct Statement
{
    QString sql;
    QVariantList values;
    QString table;   // base table for AddNew/Update and Delete; empty: read only
    QString key;     // key column of that table, used to delete the current row

    bool isEmpty() const { return sql.isEmpty(); }
};
