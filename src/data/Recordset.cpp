// SPDX-License-Identifier: MIT
#include "data/Recordset.h"

#include "data/PreparedQuery.h"
#include "data/Statements.h"
#include "data/UserAction.h"

#include <sqlite3.h>

namespace {

bool isLock(int code)
{
    return (code & 0xff) == SQLITE_BUSY || (code & 0xff) == SQLITE_LOCKED;
}

} // namespace

Recordset::Recordset(std::shared_ptr<Connection> connection, Statement statement,
                     FailureReporter reportFailure)
    : m_connection(std::move(connection)), m_statement(std::move(statement)),
      m_reportFailure(std::move(reportFailure))
{
}

// --- The statement ----------------------------------------------------------

bool Recordset::open()
{
    if (!m_connection)
        return false;
    QString error;
    int code = 0;
    if (!m_connection->prepared(m_statement.sql, &error, &code)) {
        failOrRefuse(QStringLiteral("prepare the statement \"%1\"").arg(m_statement.sql), error, code, false);
        return false;
    }
    // Only a whole table's result is kept from one run to the next; others
    // are read afresh each time and need no version.
    if (!m_statement.table.isEmpty()) {
        m_version = m_connection->version();
        if (!m_statement.key.isEmpty())
            m_keys = examineKeys();
    }
    return true;
}

Recordset::Keys Recordset::examineKeys()
{
    const QString table = quotedTable();
    const QString key = quotedKey();
    const auto action = [this] { return QStringLiteral("examine %1").arg(tableInWords()); };
    // The engine says how it finds a row by the key: through the row id
    // when the key is the row id.
    PreparedQuery *plan = run(QStringLiteral("explain query plan select 1 from %1 where %2 = 0").arg(table, key), {},
                              action);
    if (!plan)
        return Keys::Unknown;
    bool byRowId = false;
    while (plan->next())
        byRowId = byRowId || plan->value(3).toString().contains(QLatin1String("INTEGER PRIMARY KEY"));
    plan->finish();
    if (byRowId)
        return Keys::ByEngine;
    PreparedQuery *values = run(QStringLiteral("select count(*) = count(%2) and count(*) = count(distinct %2)"
                                               " and count(*) = total(typeof(%2) = 'integer') from %1")
                                    .arg(table, key),
                                {}, action);
    if (!values)
        return Keys::Unknown;
    const bool distinct = values->next() && values->value(0).toLongLong() == 1;
    values->finish();
    return distinct ? Keys::ByProgram : Keys::None;
}

bool Recordset::isCurrent() const
{
    return !m_failed && m_connection && m_version.isValid() && m_connection->version() == m_version;
}

void Recordset::rewind()
{
    m_position = 0;
    m_adding = false;
    m_refusal = WriteRefusal::None;
}

// --- Reading ----------------------------------------------------------------

QString Recordset::readAction() const
{
    return QStringLiteral("read the result of \"%1\"").arg(m_statement.sql);
}

void Recordset::noteColumns(const PreparedQuery &query) const
{
    if (!m_columnsKnown) {
        m_columns = query.columnNames();
        m_columnsKnown = true;
    }
}

Recordset::Row Recordset::rowOf(const PreparedQuery &query) const
{
    Row row(m_columns.size());
    for (int i = 0; i < row.size(); ++i)
        row[i] = query.value(i);
    return row;
}

bool Recordset::fetchWindow(int window) const
{
    const int start = window * windowSize;
    QString sql;
    QVariantList values = m_statement.values;
    const bool byKey = m_statement.orderedByKey && !m_statement.table.isEmpty()
        && (m_keys == Keys::ByEngine || m_keys == Keys::ByProgram);
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

    const auto action = [this] { return readAction(); };
    PreparedQuery *query = run(sql, values, action);
    if (!query)
        return false;
    noteColumns(*query);
    QVector<Row> rows;
    rows.reserve(windowSize);
    while (query->next())
        rows.append(rowOf(*query));
    if (!finishRun(query, action, false))
        return false;
    if (m_count < 0 && rows.size() < windowSize)
        m_count = start + int(rows.size());
    m_windows.insert(window, std::move(rows));
    return true;
}

void Recordset::readAll()
{
    if (m_failed || !m_connection)
        return;
    if (m_count >= 0) {
        bool whole = true;
        for (int window = 0; whole && window * windowSize < m_count; ++window)
            whole = m_windows.contains(window);
        if (whole)
            return;
    }
    const auto action = [this] { return readAction(); };
    PreparedQuery *query = run(m_statement.sql, m_statement.values, action);
    if (!query)
        return;
    noteColumns(*query);
    m_windows.clear();
    int count = 0;
    QVector<Row> rows;
    rows.reserve(windowSize);
    while (query->next()) {
        rows.append(rowOf(*query));
        if (++count % windowSize == 0) {
            m_windows.insert(count / windowSize - 1, std::move(rows));
            rows = QVector<Row>();
            rows.reserve(windowSize);
        }
    }
    if (!finishRun(query, action, false))
        return;
    m_windows.insert(count / windowSize, std::move(rows));
    m_count = count;
}

bool Recordset::readEach(const std::function<void(const PreparedQuery &row)> &visit)
{
    const auto action = [this] { return readAction(); };
    PreparedQuery *query = run(m_statement.sql, m_statement.values, action);
    if (!query)
        return false;
    noteColumns(*query);
    while (query->next())
        visit(*query);
    return finishRun(query, action, false);
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

const Recordset::Row *Recordset::rowAt(int position) const
{
    if (position < 0 || position >= RecordCount())
        return nullptr;
    const int window = position / windowSize;
    auto found = m_windows.constFind(window);
    if (found == m_windows.cend()) {
        if (!fetchWindow(window))
            return nullptr;
        found = m_windows.constFind(window);
    }
    const int offset = position % windowSize;
    return offset < found->size() ? &found->at(offset) : nullptr;
}

void Recordset::forgetFrom(int position)
{
    const int firstStale = qMax(0, position) / windowSize;
    const QList<int> windows = m_windows.keys();
    for (int window : windows) {
        if (window >= firstStale)
            m_windows.remove(window);
    }
}

void Recordset::Move(int n)
{
    const qint64 target = qint64(m_position) + n;
    m_position = int(qBound(qint64(-1), target, qint64(RecordCount())));
}

void Recordset::knowColumns() const
{
    if (!m_columnsKnown && !m_failed && m_connection)
        fetchWindow(0);
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

int Recordset::fieldIndex(const QString &name) const
{
    knowColumns();
    return columnIndex(name);
}

QVariant Recordset::field(const QString &name) const
{
    return field(fieldIndex(name));
}

QVariant Recordset::field(int column) const
{
    if (m_adding)
        return m_newRow.value(column);
    const Row *row = rowAt(m_position);
    return row ? row->value(column) : QVariant();
}

bool Recordset::contains(const QString &fieldName, const QVariant &value) const
{
    const int column = fieldIndex(fieldName);
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
    const QString sql = QStringLiteral("select 1 from %1 where %2 = ? limit 1")
                            .arg(quotedTable(), Statements::quoted(m_columns.at(column)));
    PreparedQuery *query = run(sql, {value}, [this] { return QStringLiteral("search %1").arg(tableInWords()); });
    if (!query)
        return false;
    const bool found = query->next();
    query->finish();
    return found;
}

// --- Running statements -----------------------------------------------------

PreparedQuery *Recordset::run(const QString &sql, const QVariantList &values,
                              const std::function<QString()> &action, bool change) const
{
    if (m_failed || !m_connection)
        return nullptr;
    if (UserAction::isWaiting()) {
        failOrRefuse(action(), QString(), SQLITE_BUSY, change);
        return nullptr;
    }
    QString error;
    int code = 0;
    PreparedQuery *query = m_connection->prepared(sql, &error, &code);
    if (!query) {
        failOrRefuse(action(), error, code, change);
        return nullptr;
    }
    if (!query->exec(values)) {
        finishRun(query, action, change);
        return nullptr;
    }
    return query;
}

bool Recordset::finishRun(PreparedQuery *query, const std::function<QString()> &action, bool change) const
{
    const bool failed = query->failed();
    const QString message = query->error();
    const int code = query->errorCode();
    query->finish();
    if (!failed)
        return true;
    if (change)
        m_connection->rollbackIfOpen();
    failOrRefuse(action(), message, code, change);
    return false;
}

void Recordset::failOrRefuse(const QString &action, const QString &message, int code, bool change) const
{
    // A file held by another program past the wait refuses a read or a
    // change: the caller tells the user instead of ending the program. Any
    // other state of the file refuses a change only.
    const WriteRefusal refusal = writeRefusalOf(code);
    if (isLock(code)) {
        m_refusal = WriteRefusal::Busy;
    } else if (change && refusal != WriteRefusal::None) {
        m_refusal = refusal;
    } else {
        fail(action, message);
        return;
    }
    // A read whose result is unknown reads as empty, and is read again at
    // the next refresh.
    if (!change)
        readAsEmpty();
}

void Recordset::fail(const QString &action, const QString &message) const
{
    readAsEmpty();
    if (m_reportFailure)
        m_reportFailure(action, message);
}

void Recordset::readAsEmpty() const
{
    m_failed = true;
    m_windows.clear();
    m_count = 0;
}

// --- Changing ---------------------------------------------------------------

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

bool Recordset::takesChanges(const QString &action)
{
    if (m_statement.table.isEmpty() || !m_connection) {
        fail(action, QStringLiteral("The result is not a whole table's."));
        return false;
    }
    // A result that could not be read (refusal() says why, or the failure
    // was reported) takes no change.
    if (m_failed)
        return false;
    m_refusal = WriteRefusal::None;
    if (m_keys == Keys::None)
        m_refusal = WriteRefusal::NoKey;
    else if (!m_connection->newerThanProgram().isEmpty())
        m_refusal = WriteRefusal::Newer;
    // The engine refuses to write a file deleted or replaced under it; the
    // file's identity is checked here too, before anything is written.
    else if (m_connection->fileHasMoved())
        m_refusal = WriteRefusal::Moved;
    return m_refusal == WriteRefusal::None;
}

void Recordset::noteOwnChange(const Connection::Version &before)
{
    const Connection::Version after = m_connection->version();
    // The data version moves only with other programs' commits: unmoved
    // from before the change to after it, the change was the only one.
    if (before.isValid() && before == m_version && after.dataVersion == before.dataVersion)
        m_version = after;
    else
        m_version = Connection::Version();
}

void Recordset::AddNew()
{
    knowColumns();
    m_adding = true;
    m_newRow = Row(m_columns.size());
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
    const auto action = [this] { return QStringLiteral("add an entry to %1").arg(tableInWords()); };
    if (!takesChanges(action()))
        return false;
    QStringList names;
    QStringList marks;
    QVariantList values;
    const int keyColumn = columnIndex(m_statement.key);
    // A key that is not the row id gets the next number from the program.
    const bool numberedHere = m_keys == Keys::ByProgram && keyColumn >= 0 && !m_newRowWritten.at(keyColumn);
    if (numberedHere) {
        names.append(quotedKey());
        marks.append(QStringLiteral("coalesce(max(%1), 0) + 1").arg(quotedKey()));
    }
    for (int i = 0; i < m_columns.size(); ++i) {
        if (!m_newRowWritten.at(i))
            continue;
        names.append(Statements::quoted(m_columns.at(i)));
        marks.append(QStringLiteral("?"));
        values.append(m_newRow.at(i));
    }
    // The row comes back as the engine made it, with the key it got; a row
    // a trigger skipped does not come back at all.
    const QString columns = names.join(QLatin1Char(','));
    const QString given = marks.join(QLatin1Char(','));
    QString sql;
    if (names.isEmpty())
        sql = QStringLiteral("insert into %1 default values returning *").arg(quotedTable());
    else if (numberedHere)
        sql = QStringLiteral("insert into %1 (%2) select %3 from %1 returning *").arg(quotedTable(), columns, given);
    else
        sql = QStringLiteral("insert into %1 (%2) values (%3) returning *").arg(quotedTable(), columns, given);
    const int countBefore = RecordCount();
    const Connection::Version before = m_connection->version();
    PreparedQuery *query = run(sql, values, action, true);
    if (!query)
        return false;
    Row made(m_columns.size());
    bool madeOne = false;
    if (query->next()) {
        madeOne = true;
        const QStringList &returned = query->columnNames();
        for (int i = 0; i < returned.size(); ++i) {
            const int column = columnIndex(returned.at(i));
            if (column >= 0)
                made[column] = query->value(i);
        }
    }
    // The statement commits when it has run to its end.
    while (query->next()) {
    }
    if (!finishRun(query, action, true))
        return false;
    if (!madeOne) {
        m_refusal = WriteRefusal::Skipped;
        return false;
    }

    // The new row, with the largest key, is the result's last row.
    const int position = countBefore;
    const int window = position / windowSize;
    auto it = m_windows.find(window);
    if (it != m_windows.end() && it->size() == position % windowSize)
        it->append(made);
    else
        m_windows.remove(window);
    m_count = countBefore + 1;
    m_position = position;
    noteOwnChange(before);
    return true;
}

int Recordset::addRows(const QStringList &names, const QVector<QVariantList> &rows)
{
    const auto action = [this] { return QStringLiteral("add an entry to %1").arg(tableInWords()); };
    if (!takesChanges(action()))
        return 0;
    if (m_keys != Keys::ByEngine) {
        // A key the program numbers: row by row, each read back.
        int made = 0;
        for (const QVariantList &values : rows) {
            AddNew();
            for (int i = 0; i < names.size(); ++i)
                setField(names.at(i), values.value(i));
            if (!Update())
                break;
            ++made;
        }
        return made;
    }
    QStringList columns;
    for (const QString &name : names) {
        const int column = columnIndex(name);
        if (column < 0) {
            fail(QStringLiteral("add rows to %1").arg(tableInWords()), QStringLiteral("It has no field %1.").arg(name));
            return 0;
        }
        columns.append(Statements::quoted(m_columns.at(column)));
    }
    // Rows go in by groups through one statement that takes a group, the
    // rest one at a time.
    constexpr int group = 50;
    const QString oneRow = QStringLiteral("(%1)").arg(QStringList(names.size(), QStringLiteral("?")).join(QLatin1Char(',')));
    const QString insert = QStringLiteral("insert into %1 (%2) values ").arg(quotedTable(), columns.join(QLatin1Char(',')));
    const QString groupSql = insert + QStringList(group, oneRow).join(QLatin1Char(','));
    const QString rowSql = insert + oneRow;
    const int countBefore = RecordCount();
    const Connection::Version before = m_connection->version();
    int made = 0;
    QVariantList values;
    for (qsizetype first = 0; first < rows.size();) {
        const int count = rows.size() - first >= group ? group : 1;
        values.clear();
        for (qsizetype i = first; i < first + count; ++i) {
            for (int field = 0; field < names.size(); ++field)
                values.append(rows.at(i).value(field));
        }
        PreparedQuery *query = run(count == group ? groupSql : rowSql, values, action, true);
        if (!query)
            break;
        // Rows a trigger skipped are no changes of the statement's own.
        const qint64 changed = query->changes();
        query->finish();
        made += int(changed);
        if (changed != count) {
            m_refusal = WriteRefusal::Skipped;
            break;
        }
        first += count;
    }
    if (made > 0) {
        // The new rows, with the largest keys, follow the result's last row.
        forgetFrom(countBefore);
        m_count = countBefore + made;
        noteOwnChange(before);
    }
    return made;
}

bool Recordset::Delete()
{
    const Row *row = rowAt(m_position);
    if (!row)
        return false;
    QVector<QPair<QString, QVariant>> fields;
    for (int i = 0; i < m_columns.size(); ++i)
        fields.append({m_columns.at(i), row->at(i)});
    return deleteMatching(fields);
}

bool Recordset::deleteMatching(const QVector<QPair<QString, QVariant>> &fields)
{
    const auto action = [this] { return QStringLiteral("delete an entry from %1").arg(tableInWords()); };
    if (fields.isEmpty() || !takesChanges(action()))
        return false;
    QStringList conditions;
    QVariantList values;
    for (const auto &[name, value] : fields) {
        conditions.append(QStringLiteral("%1 is ?").arg(Statements::quoted(name)));
        values.append(value);
    }
    const QString sql =
        QStringLiteral("delete from %1 where %2").arg(quotedTable(), conditions.join(QLatin1String(" and ")));
    const Connection::Version before = m_connection->version();
    PreparedQuery *query = run(sql, values, action, true);
    if (!query)
        return false;
    const qint64 changes = query->changes();
    query->finish();
    if (changes == 0) {
        // Another program deleted it: what this result holds is out of date.
        m_refusal = WriteRefusal::Gone;
        m_version = Connection::Version();
        return false;
    }

    // Rows before the deleted one keep their places; the windows from its
    // own on are read again when visited.
    int position = -1;
    for (auto it = m_windows.cbegin(); it != m_windows.cend() && position < 0; ++it) {
        for (int i = 0; i < it->size() && position < 0; ++i) {
            bool same = true;
            for (const auto &[name, value] : fields)
                same = same && it->at(i).value(columnIndex(name)) == value;
            if (same)
                position = it.key() * windowSize + i;
        }
    }
    forgetFrom(position < 0 ? 0 : position);
    if (m_count > 0)
        m_count -= int(changes);
    if (m_count < 0)
        m_count = -1;
    noteOwnChange(before);
    return true;
}
