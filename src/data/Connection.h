#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <memory>

class QSqlQuery;
struct sqlite3;

// One open connection to the database file, shared by the cursors that name
// the same file. It keeps each statement prepared once, and tells whether
// the data may have changed since an earlier moment.
class Connection
{
public:
    // A moment in the database's history: a change committed by another
    // connection moves dataVersion, one made through this connection moves
    // totalChanges.
    struct Version
    {
        qint64 dataVersion = -1;
        qint64 totalChanges = -1;
        bool operator==(const Version &o) const
        {
            return dataVersion == o.dataVersion && totalChanges == o.totalChanges;
        }
        bool isValid() const { return dataVersion >= 0; }
    };

    // The connection to path, opened on first use and shared while anyone
    // holds it; null with error set when the file is missing or unreadable.
    static std::shared_ptr<Connection> open(const QString &path, QString *error);
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    QSqlDatabase database() const;
    QString path() const { return m_path; }

    // The statement prepared for sql, reused from call to call; null with
    // error set when the engine rejects it.
    QSqlQuery *prepared(const QString &sql, QString *error);

    Version version();

    // The column names of a prepared statement's result, read once per
    // statement text from the query that has just run it.
    QStringList columnsOf(const QString &sql, const QSqlQuery &query);

private:
    Connection(QString name, QString path);

    QString m_name;
    QString m_path;
    QHash<QString, std::shared_ptr<QSqlQuery>> m_prepared;
    QHash<QString, QStringList> m_columns;
    sqlite3 *m_handle = nullptr;
};
