#pragma once

#include "data/Statement.h"

#include <QSqlDatabase>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <functional>

// The result of a cursor's statement: a static snapshot with an exact record
// count, a current row that can be moved to any row, field access by name
// (without regard to case), and, for a statement over one table with a key,
// rows added and the current row deleted through it. Rows added through the
// recordset belong to it at once, without running the statement again.
class Recordset
{
public:
    using FailureReporter = std::function<void(const QString &action, const QString &message)>;

    Recordset() = default;
    Recordset(QSqlDatabase db, Statement statement, FailureReporter reportFailure);

    // Runs the statement; false (and an empty result) when it fails.
    bool open();

    int RecordCount() const { return int(m_rows.size()); }
    bool atBOF() const { return m_position < 0 || m_rows.isEmpty(); }
    bool atEOF() const { return m_position >= m_rows.size(); }
    int AbsolutePosition() const { return m_position; }

    void MoveFirst() { m_position = 0; }
    void MoveNext() { Move(1); }
    // Moves n rows from the current row (negative: backwards); the position
    // stays within BOF ... EOF.
    void Move(int n);

    // The value of a field of the current row; a null value when there is
    // no current row or no such field.
    QVariant field(const QString &name) const;

    // Begins a new row; setField writes its values; Update saves it.
    void AddNew();
    void setField(const QString &name, const QVariant &value);
    bool Update();

    // Deletes the current row from the table; the current row is then the
    // one after it.
    bool Delete();

    QStringList columns() const { return m_columns; }

private:
    int columnIndex(const QString &name) const;
    void fail(const QString &action, const QString &message);

    QSqlDatabase m_db;
    Statement m_statement;
    FailureReporter m_reportFailure;
    QStringList m_columns;
    QVector<QVector<QVariant>> m_rows;
    int m_position = 0;

    bool m_adding = false;
    QVector<QVariant> m_newRow;
    QVector<bool> m_newRowWritten;
};
