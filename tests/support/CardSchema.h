// SPDX-License-Identifier: MIT
#pragma once

#include <QtCore/qcontainerfwd.h>

class QSqlDatabase;
class QString;
struct CardRow;

// Creates and fills the tables of the card database in an open SQLite
// connection through Qt SQL: the tests' own writer, not the program's, on
// exactly the program's schema.
//
// Each function runs in its own transaction (the connection must not be in
// one already): it either succeeds completely or leaves the database as it
// was. On failure it returns false and, if error is not null, describes why.
namespace CardSchema {

// A card table: Sn, Page, Row, Code, R, G, B. Code compares without regard
// to case, and is indexed, as is (Page, Row). The name is quoted, so a
// digit-only name such as "5327" works.
bool createCardTable(QSqlDatabase &db, const QString &table, QString *error);

// The collection table baby2 (sn, ccard_name, code); code compares exactly.
bool createCollectionTable(QSqlDatabase &db, QString *error);

// Inserts rows into a card table made by createCardTable.
bool insertCard(QSqlDatabase &db, const QString &table, const QVector<CardRow> &rows,
                QString *error);

} // namespace CardSchema
