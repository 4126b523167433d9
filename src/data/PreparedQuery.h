// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

struct sqlite3_stmt;

// One statement prepared by the engine, run again and again with new
// values. Running it executes it up to its first row (or to its end, for a
// statement that returns none); next() then visits the rows in turn.
// Values come back as the column holds them: whole numbers as qint64, real
// numbers as double, text as QString, blobs as QByteArray, and a null as a
// null QString.
class PreparedQuery
{
public:
    // Takes over the engine's statement.
    explicit PreparedQuery(sqlite3_stmt *statement);
    ~PreparedQuery();
    PreparedQuery(const PreparedQuery &) = delete;
    PreparedQuery &operator=(const PreparedQuery &) = delete;

    // Binds values to the ? marks in order and runs the statement; false,
    // with error() set, when the engine fails.
    bool exec(const QVariantList &values);
    // Moves to the next row; false at the end, or on a failure (error()).
    bool next();
    QVariant value(int column) const;
    // The column's value when it holds a whole number, or text, read
    // without a QVariant; none when it holds anything else.
    std::optional<qint64> integer(int column) const;
    std::optional<QString> text(int column) const;
    // Ends the run, so the statement holds no read lock between runs.
    void finish();

    bool failed() const { return !m_error.isEmpty(); }
    QString error() const { return m_error; }
    // The engine's extended result code of the last failure (0: none).
    int errorCode() const { return m_errorCode; }
    // The result's column names, as the statement names them.
    const QStringList &columnNames() const;
    // The rows the last insert, update or delete on this connection
    // changed, not counting those its triggers changed.
    qint64 changes() const;

private:
    enum class State { Idle, RowReady, OnRow, Done };

    bool step();
    bool bind(int index, const QVariant &value);

    sqlite3_stmt *m_statement;
    State m_state = State::Idle;
    QString m_error;
    int m_errorCode = 0;
    QList<QByteArray> m_boundTexts;  // the texts bound to the statement now
    QByteArray m_boundUtf8;          // those given as QString, end to end
    char *m_boundUtf8End = nullptr;  // where the next of them goes
    mutable QStringList m_columnNames;
    mutable bool m_columnNamesRead = false;
};
