#include "data/Recordset.h"

#include "data/PreparedQuery.h"
#include "data/Statements.h"


Recordset::Recordset(std::shared_ptr<Connection> connection, Statement statement,
                     FailureReporter reportFailure)
    : m_connection(std::move(connection)), m_statement(std::move(statement)),
      m_reportFailure(std::move(reportFailure))
{
}

void Recordset::fail(const QString &action, const QString &message) const
{
    // A failed result reads as empty from then on.
    m_failed = true;
    m_windows.clear();
    m_count = 0;
    if (m_reportFailure)
        m_reportFailure(action, message);
}

bool Recordset::open()
{
    if (!m_connection)
        return false;
    QString error;
    if (!m_connection->prepared(m_statement.sql, &error)) {
        fail(QStringLiteral("prepare the statement \"%1\"").arg(m_statement.sql), error);
        return false;
    }
    // Only a whole table's result is kept from one run to the next; others
    // are read afresh each time and need no version.
    if (!m_statement.table.isEmpty())
        m_version = m_connection->version();
    return true;
}

bool Recordset::isCurrent() const
{
    return !m_failed && m_connection && m_version.isValid() && m_connection->version() == m_version;
}

void Recordset::rewind()
{
    m_position = 0;
    m_adding = false;
}

void Recordset::noteOwnChange()
{
    m_version = m_connection->version();
}

QString Recordset::tableInWords() const
{
    return m_statement.what.isEmpty() ? QStringLiteral("the table %1").arg(m_statement.table) : m_statement.what;
}

QString Recordset::quotedTable() const
{
    return Statements::quoted(m_statement.table);
}

QString Recordset::quotedKey() const
{
    return Statements::quoted(m_statement.key);
}

PreparedQuery *Recordset::run(const QString &sql, const QVariantList &values,
                              const std::function<QString()> &action) const
{
    if (m_failed || !m_connection)
        return nullptr;
    QString error;
    PreparedQuery *query = m_connection->prepared(sql, &error);
    if (!query) {
        fail(action(), error);
        return nullptr;
    }
    if (!query->exec(values)) {
        const QString message = query->error();
        query->finish();
        fail(action(), message);
        return nullptr;
    }
    return query;
}

PreparedQuery *Recordset::runChange(const QString &sql, const QVariantList &values,
                                    const std::function<QString()> &action)
{
    m_refusal = WriteRefusal::None;
    if (m_failed || !m_connection)
        return nullptr;
    QString error;
    PreparedQuery *query = m_connection->prepared(sql, &error);
    if (!query) {
        fail(action(), error);
        return nullptr;
    }
    if (!query->exec(values)) {
        const QString message = query->error();
        m_refusal = writeRefusalOf(query->errorCode());
        query->finish();
        if (m_refusal == WriteRefusal::None)
            fail(action(), message);
        return nullptr;
    }
    return query;
}

bool Recordset::fetchWindow(int window) const
{
    const int start = window * windowSize;
    QString sql;
    QVariantList values = m_statement.values;
    const bool byKey = m_statement.orderedByKey && !m_statement.table.isEmpty();
    const QVector<Row> *previous = nullptr;
    if (auto it = m_windows.constFind(window - 1); window > 0 && it != m_windows.cend())
        previous = &*it;
    const int keyColumn = columnIndex(m_statement.key);

    if (byKey && window == 0) {
        sql = QStringLiteral("select * from %1 order by %2 limit %3")
                  .arg(quotedTable(), quotedKey())
                  .arg(windowSize);
    } else if (byKey && previous && previous->size() == windowSize && keyColumn >= 0) {
        // The window after a known one starts past that one's last key.
        sql = QStringLiteral("select * from %1 where %2 > ? order by %2 limit %3")
                  .arg(quotedTable(), quotedKey())
                  .arg(windowSize);
        values = {previous->last().at(keyColumn)};
    } else {
        sql = m_statement.sql + QStringLiteral(" limit ? offset ?");
        values << windowSize << start;
    }

    PreparedQuery *query = run(sql, values, [this] { return QStringLiteral("read the result of \"%1\"").arg(m_statement.sql); });
    if (!query)
        return false;
    if (!m_columnsKnown) {
        m_columns = query->columnNames();
        m_columnsKnown = true;
    }
    QVector<Row> rows;
    rows.reserve(windowSize);
    const int columnCount = m_columns.size();
    while (query->next()) {
        Row row(columnCount);
        for (int i = 0; i < columnCount; ++i)
            row[i] = query->value(i);
        rows.append(std::move(row));
    }
    const bool readFailed = query->failed();
    const QString message = query->error();
    query->finish();
    if (readFailed) {
        fail(QStringLiteral("read the result of \"%1\"").arg(m_statement.sql), message);
        return false;
    }
    if (m_count < 0 && rows.size() < windowSize)
        m_count = start + int(rows.size());
    m_windows.insert(window, std::move(rows));
    return true;
}

void Recordset::readAll()
{
    if (m_failed || !m_connection || m_count >= 0)
        return;
    PreparedQuery *query = run(m_statement.sql, m_statement.values,
                               [this] { return QStringLiteral("read the result of \"%1\"").arg(m_statement.sql); });
    if (!query)
        return;
    if (!m_columnsKnown) {
        m_columns = query->columnNames();
        m_columnsKnown = true;
    }
    const int columnCount = m_columns.size();
    m_windows.clear();
    QVector<Row> window;
    int count = 0;
    while (query->next()) {
        Row row(columnCount);
        for (int i = 0; i < columnCount; ++i)
            row[i] = query->value(i);
        window.append(std::move(row));
        if (window.size() == windowSize) {
            m_windows.insert(count / windowSize, std::move(window));
            window = QVector<Row>();
        }
        ++count;
    }
    const bool readFailed = query->failed();
    const QString message = query->error();
    query->finish();
    if (readFailed) {
        fail(QStringLiteral("read the result of \"%1\"").arg(m_statement.sql), message);
        return;
    }
    if (!window.isEmpty())
        m_windows.insert(count / windowSize, std::move(window));
    m_count = count;
}

int Recordset::RecordCount() const
{
    if (m_failed || !m_connection)
        return 0;
    if (m_count >= 0)
        return m_count;
    if (!m_windows.contains(0) && !fetchWindow(0))
        return 0;
    if (m_count >= 0)
        return m_count;
    const QString sql = m_statement.table.isEmpty()
        ? QStringLiteral("select count(*) from (%1)").arg(m_statement.sql)
        : QStringLiteral("select count(*) from %1").arg(quotedTable());
    const QVariantList values = m_statement.table.isEmpty() ? m_statement.values : QVariantList();
    PreparedQuery *query = run(sql, values, [this] { return QStringLiteral("count the result of \"%1\"").arg(m_statement.sql); });
    if (!query)
        return 0;
    m_count = query->next() ? query->value(0).toInt() : 0;
    query->finish();
    return m_count;
}

QStringList Recordset::columns() const
{
    if (!m_columnsKnown && !m_failed && m_connection)
        fetchWindow(0);
    return m_columns;
}

const Recordset::Row *Recordset::rowAt(int position) const
{
    if (position < 0 || position >= RecordCount())
        return nullptr;
    const int window = position / windowSize;
    if (!m_windows.contains(window) && !fetchWindow(window))
        return nullptr;
    const QVector<Row> &rows = m_windows[window];
    const int offset = position % windowSize;
    return offset < rows.size() ? &rows.at(offset) : nullptr;
}

void Recordset::Move(int n)
{
    const qint64 target = qint64(m_position) + n;
    m_position = int(qBound(qint64(-1), target, qint64(RecordCount())));
}

int Recordset::columnIndex(const QString &name) const
{
    // Names as the table spells them are the common case: try those first.
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns.at(i) == name)
            return i;
    }
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QVariant Recordset::field(const QString &name) const
{
    if (m_adding)
        return m_newRow.value(columnIndex(name));
    const Row *row = rowAt(m_position);
    if (!row)
        return {};
    const int column = columnIndex(name);
    return column < 0 ? QVariant() : row->at(column);
}

bool Recordset::contains(const QString &fieldName, const QVariant &value) const
{
    const QStringList names = columns();
    const int column = columnIndex(fieldName);
    if (column < 0)
        return false;
    if (m_statement.table.isEmpty()) {
        for (int i = 0; i < RecordCount(); ++i) {
            const Row *row = rowAt(i);
            if (row && row->at(column) == value)
                return true;
        }
        return false;
    }
    // A whole table answers through its index.
    const QString column_ = Statements::quoted(names.at(column));
    PreparedQuery *query = run(QStringLiteral("select 1 from %1 where %2 = ? limit 1").arg(quotedTable(), column_),
                           {value}, [this] { return QStringLiteral("search %1").arg(tableInWords()); });
    if (!query)
        return false;
    const bool found = query->next();
    query->finish();
    return found;
}

void Recordset::AddNew()
{
    const int columnCount = int(columns().size());
    m_adding = true;
    m_newRow = Row(columnCount);
    m_newRowWritten = QVector<bool>(columnCount, false);
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
    if (m_statement.table.isEmpty() || m_failed || !m_connection) {
        fail(QStringLiteral("add a row to a result that cannot take one"), QString());
        return false;
    }
    QStringList names;
    QStringList marks;
    QVariantList values;
    for (int i = 0; i < m_columns.size(); ++i) {
        if (!m_newRowWritten.at(i))
            continue;
        names.append(Statements::quoted(m_columns.at(i)));
        marks.append(QStringLiteral("?"));
        values.append(m_newRow.at(i));
    }
    const QString sql = names.isEmpty()
        ? QStringLiteral("insert into %1 default values").arg(quotedTable())
        : QStringLiteral("insert into %1 (%2) values (%3)")
              .arg(quotedTable(), names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    const int countBefore = RecordCount();
    PreparedQuery *query = runChange(sql, values, [this] { return QStringLiteral("add an entry to %1").arg(tableInWords()); });
    if (!query)
        return false;
    const int keyColumn = columnIndex(m_statement.key);
    if (keyColumn >= 0)
        m_newRow[keyColumn] = QVariant(query->lastInsertId());
    query->finish();

    // The new row, with the largest key, is the result's last row.
    const int position = countBefore;
    const int window = position / windowSize;
    auto it = m_windows.find(window);
    if (it != m_windows.end() && it->size() == position % windowSize)
        it->append(m_newRow);
    else
        m_windows.remove(window);
    m_count = countBefore + 1;
    m_position = position;
    noteOwnChange();
    return true;
}

bool Recordset::Delete()
{
    const int keyColumn = columnIndex(m_statement.key);
    const Row *row = rowAt(m_position);
    if (m_statement.table.isEmpty() || keyColumn < 0 || !row)
        return false;
    const QVariant key = row->at(keyColumn);
    PreparedQuery *query = runChange(QStringLiteral("delete from %1 where %2 = ?").arg(quotedTable(), quotedKey()),
                           {key}, [this] { return QStringLiteral("delete an entry from %1").arg(tableInWords()); });
    if (!query)
        return false;
    query->finish();

    // Rows before the deleted one keep their places; the windows from its
    // own on are read again when visited.
    const int firstStale = m_position / windowSize;
    const QList<int> windows = m_windows.keys();
    for (int window : windows) {
        if (window >= firstStale)
            m_windows.remove(window);
    }
    if (m_count > 0)
        --m_count;
    noteOwnChange();
    return true;
}
