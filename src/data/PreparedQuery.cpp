// SPDX-License-Identifier: MIT
#include "data/PreparedQuery.h"

#include <QByteArray>
#include <QStringEncoder>

#include <sqlite3.h>

namespace {

QString engineMessage(sqlite3_stmt *statement)
{
    return QString::fromUtf8(sqlite3_errmsg(sqlite3_db_handle(statement)));
}

} // namespace

PreparedQuery::PreparedQuery(sqlite3_stmt *statement) : m_statement(statement)
{
}

PreparedQuery::~PreparedQuery()
{
    sqlite3_finalize(m_statement);
}

bool PreparedQuery::bind(int index, const QVariant &value)
{
    int result;
    if (value.isNull()) {
        result = sqlite3_bind_null(m_statement, index);
    } else {
        switch (value.typeId()) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Long:
        case QMetaType::LongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
            result = sqlite3_bind_int64(m_statement, index, value.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            result = sqlite3_bind_double(m_statement, index, value.toDouble());
            break;
        case QMetaType::QByteArray: {
            const QByteArray bytes = value.toByteArray();
            result = sqlite3_bind_blob64(m_statement, index, bytes.constData(),
                                         sqlite3_uint64(bytes.size()), SQLITE_TRANSIENT);
            break;
        }
        case QMetaType::QString: {
            // Converted into the run's one buffer, made large enough for
            // all its texts before the first is bound: no allocation each.
            const QString &string = *static_cast<const QString *>(value.constData());
            char *start = m_boundUtf8End;
            m_boundUtf8End = QStringEncoder(QStringEncoder::Utf8).appendToBuffer(start, string);
            // An empty text is text still, never a null.
            static const char empty[] = "";
            result = sqlite3_bind_text64(m_statement, index, start ? start : empty,
                                         sqlite3_uint64(m_boundUtf8End - start), SQLITE_STATIC, SQLITE_UTF8);
            break;
        }
        default: {
            // Text, and anything else as the text it converts to.
            // As UTF-8, the encoding of the files the program makes, and
            // kept until the next run: the engine neither converts nor
            // copies it.
            m_boundTexts.append(value.toString().toUtf8());
            const QByteArray &text = m_boundTexts.last();
            result = sqlite3_bind_text64(m_statement, index, text.constData(), sqlite3_uint64(text.size()),
                                         SQLITE_STATIC, SQLITE_UTF8);
            break;
        }
        }
    }
    if (result != SQLITE_OK) {
        m_error = engineMessage(m_statement);
        m_errorCode = sqlite3_extended_errcode(sqlite3_db_handle(m_statement));
        return false;
    }
    return true;
}

bool PreparedQuery::exec(const QVariantList &values)
{
    finish();
    m_error.clear();
    m_errorCode = 0;
    sqlite3_clear_bindings(m_statement);
    m_boundTexts.clear();
    qsizetype utf8Space = 0;
    for (const QVariant &value : values) {
        if (!value.isNull() && value.typeId() == QMetaType::QString)
            utf8Space += 3 * static_cast<const QString *>(value.constData())->size();
    }
    // Resizing keeps the buffer's memory from run to run.
    m_boundUtf8.resize(utf8Space);
    m_boundUtf8End = m_boundUtf8.data();
    if (values.size() > sqlite3_bind_parameter_count(m_statement)) {
        m_error = QStringLiteral("The statement takes %1 values, not %2.")
                      .arg(sqlite3_bind_parameter_count(m_statement))
                      .arg(values.size());
        return false;
    }
    for (int i = 0; i < values.size(); ++i) {
        if (!bind(i + 1, values.at(i)))
            return false;
    }
    if (!step())
        return !failed();
    m_state = State::RowReady;
    return true;
}

bool PreparedQuery::step()
{
    const int result = sqlite3_step(m_statement);
    if (result == SQLITE_ROW) {
        m_state = State::OnRow;
        return true;
    }
    m_state = State::Done;
    if (result != SQLITE_DONE) {
        m_error = engineMessage(m_statement);
        m_errorCode = sqlite3_extended_errcode(sqlite3_db_handle(m_statement));
        sqlite3_reset(m_statement);
    }
    return false;
}

bool PreparedQuery::next()
{
    switch (m_state) {
    case State::RowReady:
        m_state = State::OnRow;
        return true;
    case State::OnRow:
        return step();
    case State::Idle:
    case State::Done:
        break;
    }
    return false;
}

QVariant PreparedQuery::value(int column) const
{
    if (m_state != State::OnRow || column < 0 || column >= sqlite3_column_count(m_statement))
        return {};
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(m_statement, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_statement, column));
    case SQLITE_BLOB: {
        const auto *data = static_cast<const char *>(sqlite3_column_blob(m_statement, column));
        return QVariant(QByteArray(data, sqlite3_column_bytes(m_statement, column)));
    }
    case SQLITE_NULL:
        return QVariant(QMetaType::fromType<QString>());
    default: {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
        return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(m_statement, column)));
    }
    }
}

std::optional<qint64> PreparedQuery::integer(int column) const
{
    if (m_state != State::OnRow || column < 0 || column >= sqlite3_column_count(m_statement)
        || sqlite3_column_type(m_statement, column) != SQLITE_INTEGER)
        return std::nullopt;
    return qint64(sqlite3_column_int64(m_statement, column));
}

std::optional<QString> PreparedQuery::text(int column) const
{
    if (m_state != State::OnRow || column < 0 || column >= sqlite3_column_count(m_statement)
        || sqlite3_column_type(m_statement, column) != SQLITE_TEXT)
        return std::nullopt;
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
    return QString::fromUtf8(text, sqlite3_column_bytes(m_statement, column));
}

void PreparedQuery::finish()
{
    if (m_state != State::Idle)
        sqlite3_reset(m_statement);
    m_state = State::Idle;
}

const QStringList &PreparedQuery::columnNames() const
{
    if (!m_columnNamesRead) {
        const int count = sqlite3_column_count(m_statement);
        m_columnNames.reserve(count);
        for (int i = 0; i < count; ++i)
            m_columnNames.append(QString::fromUtf8(sqlite3_column_name(m_statement, i)));
        m_columnNamesRead = true;
    }
    return m_columnNames;
}

qint64 PreparedQuery::changes() const
{
    return sqlite3_changes64(sqlite3_db_handle(m_statement));
}
