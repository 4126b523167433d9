#pragma once

#include "data/Statement.h"

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
// The connection text names the file as "Data Source=<path>". Cursors with
// the same connection text share one connection. The file must exist: a
// missing database is a failure, never silently created.
class DataCursor : public QObject
{
    Q_OBJECT

public:
    explicit DataCursor(QObject *parent = nullptr);
    ~DataCursor() override;

    void setConnectionString(const QString &connection);
    QString connectionString() const { return m_connectionText; }
    QString databasePath() const;

    void setRecordSource(const Statement &statement) { m_source = statement; }
    const Statement &recordSource() const { return m_source; }

    // Runs the record source; false when it failed. Running it again while
    // the database is unchanged keeps the rows already read.
    bool Refresh();

    // The current result (empty before the first Refresh).
    Recordset &recordset() const { return *m_recordset; }

    // The connection text for a database file.
    static QString connectionFor(const QString &databasePath);

private:
    bool connect();
    void fail(const QString &action, const QString &message) const;

    QString m_connectionText;
    std::shared_ptr<Connection> m_connection;
    Statement m_source;
    std::unique_ptr<Recordset> m_recordset;
};
