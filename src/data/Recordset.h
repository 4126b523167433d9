// SPDX-License-Identifier: MIT
#pragma once

#include "data/Connection.h"
#include "data/Statement.h"
#include "data/WriteRefusal.h"

#include <QHash>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <functional>
#include <memory>

class PreparedQuery;

// The result of a cursor's statement: an exact record count, a current row
// that can be moved to any row, field access by name (without regard to
// case) and, for a statement over a whole table, rows added and rows
// deleted through it. Rows added through the recordset belong to it at
// once, without running the statement again.
//
// Rows are read in windows of 50 as they are visited, so a large result
// costs no more than the rows looked at; readAll() reads a result that will
// be visited whole in one run. A result stays valid while the database is
// unchanged; its own changes are applied to it as they are made, unless
// another program committed a change meanwhile.
//
// A table's key column serves to add and delete rows only when it tells
// the rows apart: the engine's row id, or whole numbers without null or
// repeat (the program then numbers a new row itself). Over any other table
// the result is read only, and changes are refused (WriteRefusal::NoKey).
//
// The operations the window's handlers are written in keep their spelling
// (RecordCount, MoveFirst, MoveNext, Move, AddNew, Update, Delete); the
// value of Fields(name) is field(name), written on a new row by setField.
class Recordset
{
public:
    using FailureReporter = std::function<void(const QString &action, const QString &message)>;
    using Row = QVector<QVariant>;

    Recordset() = default;
    Recordset(std::shared_ptr<Connection> connection, Statement statement,
              FailureReporter reportFailure);

    // Checks the statement with the engine and notes the database's version;
    // false (and an empty result) when the engine rejects it.
    bool open();
    const Statement &statement() const { return m_statement; }
    // True when nothing has changed the database since the result was read
    // or last changed through this recordset.
    bool isCurrent() const;
    // Back to the first row, as after running the statement again, with
    // no refusal noted.
    void rewind();

    int RecordCount() const;
    void MoveFirst() { m_position = 0; }
    void MoveNext() { Move(1); }
    // Moves n rows from the current row (negative: backwards); the position
    // stays within one before the first row ... one past the last.
    void Move(int n);
    bool atEOF() const { return m_position >= RecordCount(); }

    // The value of a field of the current row (or of the new row after
    // AddNew); a null value when there is no current row or no such field.
    QVariant field(const QString &name) const;
    // The same by the field's place in the row, for a caller that reads
    // many rows: the name is looked up once.
    int fieldIndex(const QString &name) const;
    QVariant field(int column) const;

    // Whether any row of the result holds value in the named field,
    // compared as the column compares.
    bool contains(const QString &fieldName, const QVariant &value) const;

    // Reads every row of the result in one run of the statement.
    void readAll();
    // Hands each row of the result to visit, in one run of the statement,
    // without keeping the rows; visit reads the row's values by their
    // places (fieldIndex), and must not run this recordset's statement
    // meanwhile. False when the statement could not run or its rows could
    // not all be read (the failure was reported, or refusal() says why).
    bool readEach(const std::function<void(const PreparedQuery &row)> &visit);

    // Begins a new row; setField writes its values; Update saves it. The
    // row the engine made is read back with the key it got, and becomes the
    // current row; Update is false (refusal() Skipped) when the engine made
    // none.
    void AddNew();
    void setField(const QString &name, const QVariant &value);
    bool Update();

    // Adds a row for each list of values, given for the named fields in
    // order, as AddNew, setField and Update would one by one, and returns
    // how many the engine made. It stops when the engine makes fewer rows
    // than it was given: rows keyed by the engine go in by groups of up to
    // 50 through one prepared statement, without reading each back, so a
    // caller that must have all or none holds a transaction and rolls it
    // back then.
    int addRows(const QStringList &names, const QVector<QVariantList> &rows);

    // Deletes the current row, matched on all its fields as read; the
    // current row is then the one after it.
    bool Delete();
    // Deletes the row whose named fields hold exactly these values; false
    // (refusal() Gone) when there is no such row.
    bool deleteMatching(const QVector<QPair<QString, QVariant>> &fields);

    // Why the last change made none, or the last read gave an empty
    // result, although nothing failed in the program: the state of the file
    // or of the row refused it. None after a change that was made, or a
    // failure (which was reported).
    WriteRefusal refusal() const { return m_refusal; }

private:
    static constexpr int windowSize = 50;

    // What the table's key column is.
    enum class Keys {
        Unknown,    // not a whole table, or not examined
        ByEngine,   // the row id: the engine numbers new rows
        ByProgram,  // whole numbers without null or repeat: the program numbers new rows
        None,       // it does not tell the rows apart
    };
    Keys examineKeys();

    // Reading.
    void knowColumns() const;
    int columnIndex(const QString &name) const;
    const Row *rowAt(int position) const;
    bool fetchWindow(int window) const;
    // The result's column names, from the first run that gives them.
    void noteColumns(const PreparedQuery &query) const;
    Row rowOf(const PreparedQuery &query) const;
    void forgetFrom(int position);
    QString readAction() const;

    // Running statements. run prepares and runs one; on failure it returns
    // null, with the failure reported or, when the file's state explains
    // it, noted as a refusal (any for a change, Busy for a read while the
    // user acts). finishRun ends a run and says whether it went through.
    PreparedQuery *run(const QString &sql, const QVariantList &values,
                       const std::function<QString()> &action, bool change = false) const;
    bool finishRun(PreparedQuery *query, const std::function<QString()> &action, bool change) const;
    void failOrRefuse(const QString &action, const QString &message, int code, bool change) const;
    void fail(const QString &action, const QString &message) const;
    void readAsEmpty() const;

    // Changing. takesChanges says whether a change may be tried now: a
    // whole table's result, read, with a key that tells rows apart, in a
    // file this program may write and that is still the one opened; false
    // with the failure reported or the refusal noted.
    bool takesChanges(const QString &action);
    // Keeps the result current after a change of its own, unless another
    // program committed a change since before.
    void noteOwnChange(const Connection::Version &before);
    QString quotedTable() const;
    QString quotedKey() const;
    QString tableInWords() const;

    std::shared_ptr<Connection> m_connection;
    Statement m_statement;
    FailureReporter m_reportFailure;
    Connection::Version m_version;
    Keys m_keys = Keys::Unknown;

    mutable bool m_failed = false;
    mutable QStringList m_columns;
    mutable bool m_columnsKnown = false;
    mutable int m_count = -1;                    // -1: not counted yet
    mutable QHash<int, QVector<Row>> m_windows;  // window index -> its rows
    int m_position = 0;
    mutable WriteRefusal m_refusal = WriteRefusal::None;

    bool m_adding = false;
    Row m_newRow;
    QVector<bool> m_newRowWritten;
};
