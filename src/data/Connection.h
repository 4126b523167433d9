// SPDX-License-Identifier: MIT
#pragma once

#include <QHash>
#include <QString>

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
    static std::shared_ptr<Connection> open(const QString &path, QString *error);
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

private:
    Connection(sqlite3 *handle, const QString &path);

    sqlite3 *m_handle;
    QString m_path;
    // The file opened, as the file system names it.
    quint64 m_device = 0;
    quint64 m_inode = 0;
    QHash<QString, std::shared_ptr<PreparedQuery>> m_prepared;
};
