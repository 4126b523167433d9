#include "data/Connection.h"

#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <map>

#include <sqlite3.h>

namespace {

std::map<QString, std::weak_ptr<Connection>> &openConnections()
{
    static std::map<QString, std::weak_ptr<Connection>> connections;
    return connections;
}

} // namespace

std::shared_ptr<Connection> Connection::open(const QString &path, QString *error)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    auto &connections = openConnections();
    if (auto it = connections.find(absolute); it != connections.end()) {
        if (auto existing = it->second.lock())
            return existing;
    }

    // A missing file is an error: opening it would create an empty database.
    if (!QFileInfo(path).isFile()) {
        *error = QStringLiteral("The file does not exist.");
        return nullptr;
    }
    const QString name = QStringLiteral("tesselle:") + absolute;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        // Wait for another program's write instead of failing at once.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=30000"));
        if (!db.open()) {
            *error = db.lastError().text();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            return nullptr;
        }
    }
    std::shared_ptr<Connection> connection(new Connection(name, path));
    connections[absolute] = connection;
    return connection;
}

Connection::Connection(QString name, QString path) : m_name(std::move(name)), m_path(std::move(path))
{
    // The engine's own handle answers "how many rows has this connection
    // changed" without running a statement.
    const QVariant handle = database().driver()->handle();
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0)
        m_handle = *static_cast<sqlite3 *const *>(handle.constData());
}

Connection::~Connection()
{
    m_prepared.clear();
    m_columns.clear();
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
    auto &connections = openConnections();
    for (auto it = connections.begin(); it != connections.end(); ++it) {
        if (it->second.expired()) {
            connections.erase(it);
            break;
        }
    }
}

QSqlDatabase Connection::database() const
{
    return QSqlDatabase::database(m_name, false);
}

QSqlQuery *Connection::prepared(const QString &sql, QString *error)
{
    if (auto it = m_prepared.find(sql); it != m_prepared.end())
        return it->get();
    auto query = std::make_shared<QSqlQuery>(database());
    query->setForwardOnly(true);
    if (!query->prepare(sql)) {
        *error = query->lastError().text();
        return nullptr;
    }
    m_prepared.insert(sql, query);
    return query.get();
}

QStringList Connection::columnsOf(const QString &sql, const QSqlQuery &query)
{
    if (const auto it = m_columns.constFind(sql); it != m_columns.cend())
        return *it;
    const QSqlRecord record = query.record();
    QStringList names;
    for (int i = 0; i < record.count(); ++i)
        names.append(record.fieldName(i));
    m_columns.insert(sql, names);
    return names;
}

Connection::Version Connection::version()
{
    Version v;
    QString error;
    if (QSqlQuery *q = prepared(QStringLiteral("pragma data_version"), &error)) {
        if (q->exec() && q->next())
            v.dataVersion = q->value(0).toLongLong();
        q->finish();
    }
    if (m_handle)
        v.totalChanges = sqlite3_total_changes64(m_handle);
    return v;
}
