#include "data/Recordset.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

Recordset::Recordset(QSqlDatabase db, Statement statement, FailureReporter reportFailure)
    : m_db(std::move(db)), m_statement(std::move(statement)), m_reportFailure(std::move(reportFailure))
{
}

void Recordset::fail(const QString &action, const QString &message)
{
    if (m_reportFailure)
        m_reportFailure(action, message);
}

bool Recordset::open()
{
    m_rows.clear();
    m_columns.clear();
    m_position = 0;
    m_adding = false;

    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.prepare(m_statement.sql)) {
        fail(QStringLiteral("prepare the statement \"%1\"").arg(m_statement.sql),
             query.lastError().text());
        return false;
    }
    for (const QVariant &value : std::as_const(m_statement.values))
        query.addBindValue(value);
    if (!query.exec()) {
        fail(QStringLiteral("run the statement \"%1\"").arg(m_statement.sql), query.lastError().text());
        return false;
    }
    const QSqlRecord record = query.record();
    for (int i = 0; i < record.count(); ++i)
        m_columns.append(record.fieldName(i));
    while (query.next()) {
        QVector<QVariant> row(m_columns.size());
        for (int i = 0; i < m_columns.size(); ++i)
            row[i] = query.value(i);
        m_rows.append(std::move(row));
    }
    if (query.lastError().isValid()) {
        m_rows.clear();
        fail(QStringLiteral("read the result of \"%1\"").arg(m_statement.sql), query.lastError().text());
        return false;
    }
    return true;
}

void Recordset::Move(int n)
{
    const qint64 target = qint64(m_position) + n;
    m_position = int(qBound<qint64>(-1, target, m_rows.size()));
}

int Recordset::columnIndex(const QString &name) const
{
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QVariant Recordset::field(const QString &name) const
{
    const int column = columnIndex(name);
    if (column < 0)
        return {};
    if (m_adding)
        return m_newRow.value(column);
    if (m_position < 0 || m_position >= m_rows.size())
        return {};
    return m_rows.at(m_position).at(column);
}

void Recordset::AddNew()
{
    m_adding = true;
    m_newRow = QVector<QVariant>(m_columns.size());
    m_newRowWritten = QVector<bool>(m_columns.size(), false);
}

void Recordset::setField(const QString &name, const QVariant &value)
{
    const int column = columnIndex(name);
    if (!m_adding || column < 0)
        return;
    m_newRow[column] = value;
    m_newRowWritten[column] = true;
}

bool Recordset::Update()
{
    if (!m_adding)
        return true;
    m_adding = false;
    if (m_statement.table.isEmpty()) {
        fail(QStringLiteral("add a row to a read-only result"), QString());
        return false;
    }
    QStringList names;
    QStringList marks;
    QVariantList values;
    for (int i = 0; i < m_columns.size(); ++i) {
        if (!m_newRowWritten.at(i))
            continue;
        names.append(m_db.driver()->escapeIdentifier(m_columns.at(i), QSqlDriver::FieldName));
        marks.append(QStringLiteral("?"));
        values.append(m_newRow.at(i));
    }
    const QString table = m_db.driver()->escapeIdentifier(m_statement.table, QSqlDriver::TableName);
    const QString sql = names.isEmpty()
        ? QStringLiteral("insert into %1 default values").arg(table)
        : QStringLiteral("insert into %1 (%2) values (%3)").arg(table, names.join(QLatin1Char(',')),
                                                                  marks.join(QLatin1Char(',')));
    QSqlQuery query(m_db);
    if (!query.prepare(sql)) {
        fail(QStringLiteral("add a row to %1").arg(m_statement.table), query.lastError().text());
        return false;
    }
    for (const QVariant &value : std::as_const(values))
        query.addBindValue(value);
    if (!query.exec()) {
        fail(QStringLiteral("add a row to %1").arg(m_statement.table), query.lastError().text());
        return false;
    }
    const int keyColumn = columnIndex(m_statement.key);
    if (keyColumn >= 0)
        m_newRow[keyColumn] = query.lastInsertId();
    m_rows.append(m_newRow);
    m_position = m_rows.size() - 1;
    return true;
}

bool Recordset::Delete()
{
    const int keyColumn = columnIndex(m_statement.key);
    if (m_statement.table.isEmpty() || keyColumn < 0) {
        fail(QStringLiteral("delete a row from a read-only result"), QString());
        return false;
    }
    if (m_position < 0 || m_position >= m_rows.size())
        return false;
    const QString table = m_db.driver()->escapeIdentifier(m_statement.table, QSqlDriver::TableName);
    const QString key = m_db.driver()->escapeIdentifier(m_statement.key, QSqlDriver::FieldName);
    QSqlQuery query(m_db);
    if (!query.prepare(QStringLiteral("delete from %1 where %2 = ?").arg(table, key))) {
        fail(QStringLiteral("delete a row from %1").arg(m_statement.table), query.lastError().text());
        return false;
    }
    query.addBindValue(m_rows.at(m_position).at(keyColumn));
    if (!query.exec()) {
        fail(QStringLiteral("delete a row from %1").arg(m_statement.table), query.lastError().text());
        return false;
    }
    m_rows.removeAt(m_position);
    return true;
}
