// SPDX-License-Identifier: MIT
#pragma once

#include "data/Statement.h"
#include "data/WriteRefusal.h"

#include <QObject>

#include <memory>

class Connection;
class Recordset;

// A data cursor: a connection to the program's database file, a record
// source holding one statement, and the result of running it. Setting the
// record source does not run it; Refresh does, and positions the result on
// its first row. A failing operation is reported through DatabaseFailure
// and leaves an empty result.
//
// Cursors on the same file share one connection. The file must exist: a
// missing database is a failure, never silently created.
class DataCursor : public QObject
{
    Q_OBJECT

public:
    explicit DataCursor(QObject *parent = nullptr);
    ~DataCursor() override;

    void setDatabasePath(const QString &path);
    QString databasePath() const { return m_databasePath; }

    void setRecordSource(const Statement &statement) { m_source = statement; }

    // Runs the record source; false when it failed. Running it again while
    // the database is unchanged keeps the rows already read.
    bool Refresh();

    // Runs a statement that returns no rows (begin, commit, rollback) on the
    // cursor's connection. A refusal by the file's state is returned, not
    // reported; any other failure is reported and gives false in ok.
    WriteRefusal execute(const QString &sql, bool *ok, const QVariantList &values = {});
    // Rolls back the transaction open on the connection, if one still is
    // (the engine ends some on its own when a statement fails).
    void rollback();

    // The current result (empty before the first Refresh).
    Recordset &recordset() const { return *m_recordset; }

private:
    bool connect();
    void fail(const QString &action, const QString &message) const;

    QString m_databasePath;
    std::shared_ptr<Connection> m_connection;
    Statement m_source;
    std::unique_ptr<Recordset> m_recordset;
};
