#include "data/DataCursor.h"

#include "data/DatabaseFailure.h"
#include "data/Recordset.h"

#include <QFileInfo>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>

namespace {

const QString dataSourceKey = QStringLiteral("Data Source=");

// Cursors on one database file share one connection; it is closed and
// removed when the last of them goes.
QHash<QString, int> &connectionUsers()
{
    static QHash<QString, int> users;
    return users;
}

QString pathFromConnection(const QString &connection)
{
    const int start = connection.indexOf(dataSourceKey, 0, Qt::CaseInsensitive);
    if (start < 0)
        return {};
    const int from = start + dataSourceKey.size();
    const int end = connection.indexOf(QLatin1Char(';'), from);
    return connection.mid(from, end < 0 ? -1 : end - from);
}

} // namespace

DataCursor::DataCursor(QObject *parent) : QObject(parent), m_recordset(std::make_unique<Recordset>())
{
}

DataCursor::~DataCursor()
{
    m_recordset.reset();
    if (m_connectionName.isEmpty())
        return;
    int &users = connectionUsers()[m_connectionName];
    if (--users <= 0) {
        connectionUsers().remove(m_connectionName);
        {
            QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_connectionName);
    }
}

QString DataCursor::connectionFor(const QString &databasePath)
{
    return QStringLiteral("Driver=QSQLITE;") + dataSourceKey + databasePath;
}

QString DataCursor::databasePath() const
{
    return pathFromConnection(m_connection);
}

void DataCursor::fail(const QString &action, const QString &message) const
{
    DatabaseFailure::report({databasePath(), action, message});
}

void DataCursor::setConnectionString(const QString &connection)
{
    m_connection = connection;
}

bool DataCursor::connect()
{
    const QString path = databasePath();
    const QString name = QStringLiteral("tesselle:") + QFileInfo(path).absoluteFilePath();
    if (name == m_connectionName && QSqlDatabase::database(name, false).isOpen())
        return true;

    if (!QFileInfo(path).isFile()) {
        fail(QStringLiteral("open the database"), QStringLiteral("The file does not exist."));
        return false;
    }
    if (!QSqlDatabase::contains(name)) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        // Wait for another program's write instead of failing at once.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=30000"));
    }
    QSqlDatabase db = QSqlDatabase::database(name, false);
    if (!db.isOpen() && !db.open()) {
        const QString message = db.lastError().text();
        fail(QStringLiteral("open the database"), message);
        return false;
    }
    if (m_connectionName != name) {
        m_connectionName = name;
        ++connectionUsers()[name];
    }
    return true;
}

bool DataCursor::Refresh()
{
    if (!connect()) {
        m_recordset = std::make_unique<Recordset>();
        return false;
    }
    m_recordset = std::make_unique<Recordset>(
        QSqlDatabase::database(m_connectionName, false), m_source,
        [this](const QString &action, const QString &message) { fail(action, message); });
    return m_recordset->open();
}
