// SPDX-License-Identifier: MIT
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

class PreparedQuery;
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
    // A file made by a newer version of the program is opened read-only
    // (newerThanProgram() says why).
    static std::shared_ptr<Connection> open(const QString &path, QString *error);
    // A connection of the caller's own to an existing file, for the changes
    // start-up and the builder make: read-write where the file allows (or
    // read-only when asked), waiting up to busyMs for another program's lock.
    static std::unique_ptr<Connection> openAlone(const QString &path, int busyMs, QString *error,
                                                 bool readOnly = false);
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    // The statement prepared for sql, reused from call to call; null with
    // error set (and code, when given, the engine's extended result code)
    // when the engine rejects it or cannot read the schema just then.
    PreparedQuery *prepared(const QString &sql, QString *error, int *code = nullptr);

    // An invalid version when the database cannot be read just then.
    Version version();

    // Whether the file at the path opened is no longer the one opened: it
    // was deleted, moved away or replaced by another file.
    bool fileHasMoved() const;

    // Ends a transaction a failed change left open, so that nothing of it
    // stays.
    void rollbackIfOpen();

    // Runs statements that return no rows; false, with error() set, at the
    // first that fails.
    bool exec(const QString &sql);
    // One column (the first unless told) of each row of a one-statement
    // query, bound to values; false in ok, with error() set, when it fails.
    QVariantList column(const QString &sql, bool *ok = nullptr, const QVariantList &values = {}, int index = 0);
    // The first column of the first row, or an invalid value.
    QVariant value(const QString &sql, bool *ok = nullptr, const QVariantList &values = {});
    // The engine's word on the last failure, and its extended result code.
    QString error() const;
    int errorCode() const;
    // Whether the file cannot be written through this connection.
    bool isReadOnly() const;
    // Whether the column is its table's row id handed out by AUTOINCREMENT.
    bool isAutoIncrement(const char *table, const char *column) const;
    // Why the file was opened read-only: it was made by a newer version of
    // the program (both versions named); empty otherwise.
    QString newerThanProgram() const { return m_newer; }

private:
    Connection(sqlite3 *handle, const QString &path);

    sqlite3 *m_handle;
    QString m_path;
    QString m_newer;
    QString m_error;  // of the last exec, column or value that failed
    // The file opened, as the file system names it.
    quint64 m_device = 0;
    quint64 m_inode = 0;
    QHash<QString, std::shared_ptr<PreparedQuery>> m_prepared;
};
