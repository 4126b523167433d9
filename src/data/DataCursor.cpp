// SPDX-License-Identifier: MIT
#include "data/DataCursor.h"

#include "data/Connection.h"
#include "data/DatabaseFailure.h"
#include "data/PreparedQuery.h"
#include "data/Recordset.h"

DataCursor::DataCursor(QObject *parent) : QObject(parent), m_recordset(std::make_unique<Recordset>())
{
}

// The recordset goes before the connection it reads through.
DataCursor::~DataCursor()
{
    m_recordset.reset();
    m_connection.reset();
}

void DataCursor::fail(const QString &action, const QString &message) const
{
    DatabaseFailure::report({databasePath(), action, message});
}

void DataCursor::setDatabasePath(const QString &path)
{
    if (path == m_databasePath)
        return;
    m_databasePath = path;
    m_recordset = std::make_unique<Recordset>();
    m_connection.reset();
}

bool DataCursor::connect()
{
    if (m_connection)
        return true;
    QString error;
    m_connection = Connection::open(databasePath(), &error);
    if (!m_connection) {
        fail(QStringLiteral("open the database"), error);
        return false;
    }
    return true;
}

WriteRefusal DataCursor::execute(const QString &sql, bool *ok, const QVariantList &values)
{
    *ok = false;
    if (!connect())
        return WriteRefusal::None;
    if (!m_connection->newerThanProgram().isEmpty())
        return WriteRefusal::Newer;
    QString error;
    PreparedQuery *query = m_connection->prepared(sql, &error);
    if (!query) {
        fail(QStringLiteral("run \"%1\"").arg(sql), error);
        return WriteRefusal::None;
    }
    if (query->exec(values)) {
        query->finish();
        *ok = true;
        return WriteRefusal::None;
    }
    const WriteRefusal refusal = writeRefusalOf(query->errorCode());
    const QString message = query->error();
    query->finish();
    if (refusal == WriteRefusal::None)
        fail(QStringLiteral("run \"%1\"").arg(sql), message);
    return refusal;
}

void DataCursor::rollback()
{
    if (m_connection)
        m_connection->rollbackIfOpen();
}

bool DataCursor::Refresh()
{
    if (!connect()) {
        m_recordset = std::make_unique<Recordset>();
        return false;
    }
    // An unchanged statement over unchanged data gives the same rows.
    if (m_recordset->statement() == m_source && m_recordset->isCurrent()) {
        m_recordset->rewind();
        return true;
    }
    m_recordset = std::make_unique<Recordset>(
        m_connection, m_source,
        [this](const QString &action, const QString &message) { fail(action, message); });
    return m_recordset->open();
}
