// SPDX-License-Identifier: MIT
#pragma once

#include "data/CardRow.h"

#include <QString>
#include <QTemporaryDir>
#include <QVariantList>
#include <QVector>

// A temporary program folder as the program finds it beside its executable:
// the real movie files under swf/, and a small card database built from the
// rows a test gives.
class ProgramFolder
{
public:
    ProgramFolder();

    QString path() const { return m_dir.path(); }
    QString databasePath() const;

    // Creates dbtsl.db with the card table "5327" holding rows and an empty
    // collection table.
    void createDatabase(const QVector<CardRow> &rows);
    // Adds another card table to the database.
    void addCardTable(const QString &table, const QVector<CardRow> &rows);
    // Adds collection rows directly, as another program could.
    void addCollectionRows(const QVector<QPair<QString, QString>> &tableAndCode);
    // The collection's codes in sn order, read directly from the file.
    QStringList collectionCodes() const;
    // Runs one statement on the file directly.
    void exec(const QString &sql) const;
    // The first column of a query's rows, read from the file directly.
    QVariantList column(const QString &sql, const QVariantList &values = {}) const;

    // What a write must leave alone, made at name in the folder: a FIFO
    // (kind "fifo") or a symbolic link to kind (a device, /dev/full, never
    // the device itself). Its path; empty when it could not be made.
    QString makeNode(const QString &name, const QString &kind) const;
    // Whether path is still the node makeNode made there.
    static bool isNode(const QString &path, const QString &kind);

    // A card of the given number of pages with rowsPerPage colours each.
    // Codes are "Tp.PP.RR" (p: the page's hundreds digit, PP the rest of the
    // page number, RR the row), colours follow from page and row.
    static QVector<CardRow> card(int pages, int rowsPerPage);
    static QString codeFor(int page, int row);
    static CardRow rowFor(int sn, int page, int row);

private:
    QTemporaryDir m_dir;
};
