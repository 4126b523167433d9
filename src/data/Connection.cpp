// SPDX-License-Identifier: MIT
#include "data/Connection.h"

#include "data/DatabaseSetup.h"
#include "data/PreparedQuery.h"
#include "data/UserAction.h"

#include <QFileInfo>

#include <map>

#include <sqlite3.h>
#include <sys/stat.h>

namespace {

std::map<QString, std::weak_ptr<Connection>> &openConnections()
{
    static std::map<QString, std::weak_ptr<Connection>> connections;
    return connections;
}

// The device and inode of the file at path; false when there is none.
bool identify(const QString &path, quint64 *device, quint64 *inode)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    *device = quint64(info.st_dev);
    *inode = quint64(info.st_ino);
    return true;
}

} // namespace

// The engine's process-wide settings, before its first connection. A
// connection's page cache and lookaside allocator would otherwise each
// claim a block at open and thread a free list through all of it, so that
// all of it is resident before a page or a statement needs it (over 200 KB
// at start for the one connection). The page cache now takes its pages as
// it reads them, and the small blocks the lookaside served come from the C
// library's allocator (the page move is no slower for it).
static void configureEngineOnce()
{
    static const bool configured = [] {
        sqlite3_config(SQLITE_CONFIG_PAGECACHE, nullptr, 0, 0);
        sqlite3_config(SQLITE_CONFIG_LOOKASIDE, 0, 0);
        return true;
    }();
    (void)configured;
}

// The handle to path, opened with flags; null with error set.
static sqlite3 *openHandle(const QString &path, int flags, QString *error)
{
    // A missing file is an error: opening it would create an empty database.
    if (!QFileInfo(path).isFile()) {
        *error = QStringLiteral("The file does not exist.");
        return nullptr;
    }
    configureEngineOnce();
    sqlite3 *handle = nullptr;
    const int result = sqlite3_open_v2(QFile::encodeName(path).constData(), &handle, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (result != SQLITE_OK) {
        *error = handle ? QString::fromUtf8(sqlite3_errmsg(handle)) : QString::fromUtf8(sqlite3_errstr(result));
        sqlite3_close(handle);
        return nullptr;
    }
    sqlite3_extended_result_codes(handle, 1);
    // A file opened read-only is never written, not even by the checkpoint
    // a last connection makes of a write-ahead log when it closes.
    if (flags & SQLITE_OPEN_READONLY)
        sqlite3_db_config(handle, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    return handle;
}

std::shared_ptr<Connection> Connection::open(const QString &path, QString *error)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    auto &connections = openConnections();
    if (auto it = connections.find(absolute); it != connections.end()) {
        if (auto existing = it->second.lock())
            return existing;
    }

    // The version is read read-only first: a newer version's file is left
    // whole, not one byte of it written, a write-ahead log holding its
    // newer version included (which a read-write connection would
    // checkpoint into the file as it closed).
    sqlite3 *handle = openHandle(path, SQLITE_OPEN_READONLY, error);
    if (!handle)
        return nullptr;
    // Waits for other programs' locks are the user action's to share.
    sqlite3_busy_handler(handle, &UserAction::busyHandler, nullptr);
    std::shared_ptr<Connection> connection(new Connection(handle, absolute));
    connection->m_newer = DatabaseSetup::newerThanProgram(*connection);
    if (connection->m_newer.isEmpty()) {
        connection.reset();
        handle = openHandle(path, SQLITE_OPEN_READWRITE, error);
        if (!handle)
            return nullptr;
        sqlite3_busy_handler(handle, &UserAction::busyHandler, nullptr);
        connection.reset(new Connection(handle, absolute));
    }
    connections[absolute] = connection;
    return connection;
}

std::unique_ptr<Connection> Connection::openAlone(const QString &path, int busyMs, QString *error, bool readOnly)
{
    sqlite3 *handle = openHandle(path, readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE, error);
    if (!handle)
        return nullptr;
    sqlite3_busy_timeout(handle, busyMs);
    return std::unique_ptr<Connection>(new Connection(handle, QFileInfo(path).absoluteFilePath()));
}

Connection::Connection(sqlite3 *handle, const QString &path) : m_handle(handle), m_path(path)
{
    identify(m_path, &m_device, &m_inode);
}

Connection::~Connection()
{
    m_prepared.clear();
    sqlite3_close(m_handle);
    auto &connections = openConnections();
    for (auto it = connections.begin(); it != connections.end(); ++it) {
        if (it->second.expired()) {
            connections.erase(it);
            break;
        }
    }
}

PreparedQuery *Connection::prepared(const QString &sql, QString *error, int *code)
{
    // The engine is inside another statement's step while the wait is
    // shown: nothing may touch the connection then.
    if (UserAction::isWaiting()) {
        *error = QStringLiteral("The database is busy.");
        if (code)
            *code = SQLITE_BUSY;
        return nullptr;
    }
    if (auto it = m_prepared.find(sql); it != m_prepared.end())
        return it->get();
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt *statement = nullptr;
    const char *tail = nullptr;
    if (sqlite3_prepare_v3(m_handle, text.constData(), int(text.size()), SQLITE_PREPARE_PERSISTENT,
                           &statement, &tail) != SQLITE_OK) {
        *error = QString::fromUtf8(sqlite3_errmsg(m_handle));
        if (code)
            *code = sqlite3_extended_errcode(m_handle);
        return nullptr;
    }
    // One statement at a time: anything after the first is refused, not run.
    if (tail && !QByteArray(tail).trimmed().isEmpty()) {
        sqlite3_finalize(statement);
        *error = QStringLiteral("Only one statement can be run at a time.");
        return nullptr;
    }
    if (!statement) {
        *error = QStringLiteral("The statement is empty.");
        return nullptr;
    }
    auto query = std::make_shared<PreparedQuery>(statement);
    m_prepared.insert(sql, query);
    return query.get();
}

Connection::Version Connection::version()
{
    Version v;
    if (UserAction::isWaiting())
        return v;
    QString error;
    if (PreparedQuery *q = prepared(QStringLiteral("pragma data_version"), &error)) {
        if (q->exec({}) && q->next())
            v.dataVersion = q->value(0).toLongLong();
        q->finish();
    }
    v.totalChanges = sqlite3_total_changes64(m_handle);
    return v;
}

bool Connection::fileHasMoved() const
{
    quint64 device = 0;
    quint64 inode = 0;
    return !identify(m_path, &device, &inode) || device != m_device || inode != m_inode;
}

void Connection::rollbackIfOpen()
{
    if (!sqlite3_get_autocommit(m_handle))
        sqlite3_exec(m_handle, "rollback", nullptr, nullptr, nullptr);
}

bool Connection::exec(const QString &sql)
{
    m_error.clear();
    char *message = nullptr;
    if (sqlite3_exec(m_handle, sql.toUtf8().constData(), nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    m_error = message ? QString::fromUtf8(message) : QString::fromUtf8(sqlite3_errmsg(m_handle));
    sqlite3_free(message);
    return false;
}

QVariantList Connection::column(const QString &sql, bool *ok, const QVariantList &values, int index)
{
    m_error.clear();
    QVariantList result;
    bool good = false;
    if (PreparedQuery *query = prepared(sql, &m_error)) {
        good = query->exec(values);
        while (good && query->next())
            result.append(query->value(index));
        good = good && !query->failed();
        if (!good)
            m_error = query->error();
        query->finish();
    }
    if (ok)
        *ok = good;
    return result;
}

QVariant Connection::value(const QString &sql, bool *ok, const QVariantList &values)
{
    const QVariantList rows = column(sql, ok, values);
    return rows.isEmpty() ? QVariant() : rows.first();
}

QString Connection::error() const
{
    return m_error.isEmpty() ? QString::fromUtf8(sqlite3_errmsg(m_handle)) : m_error;
}

int Connection::errorCode() const
{
    return sqlite3_extended_errcode(m_handle);
}

bool Connection::isReadOnly() const
{
    return sqlite3_db_readonly(m_handle, "main") == 1;
}

bool Connection::isAutoIncrement(const char *table, const char *column) const
{
    int autoIncrement = 0;
    sqlite3_table_column_metadata(m_handle, "main", table, column, nullptr, nullptr, nullptr, nullptr,
                                  &autoIncrement);
    return autoIncrement != 0;
}
