// SPDX-License-Identifier: MIT
#include "data/DatabaseSetup.h"

#include "data/Statements.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <sqlite3.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace DatabaseSetup {
namespace {

const char *const metaTable = "tesselle_meta";
// How long the update waits for another program's lock before it leaves the
// file as it is: start-up should not hang on it.
constexpr int updateBusyMs = 1000;

// One database handle, closed when it goes.
class Handle
{
public:
    Handle(const QString &path, int flags)
    {
        m_result = sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, flags, nullptr);
        if (m_result == SQLITE_OK)
            sqlite3_extended_result_codes(m_db, 1);
    }
    ~Handle() { sqlite3_close(m_db); }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;

    bool isOpen() const { return m_result == SQLITE_OK; }
    sqlite3 *db() const { return m_db; }
    QString error() const
    {
        return m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString::fromUtf8(sqlite3_errstr(m_result));
    }
    int errorCode() const { return m_db ? sqlite3_extended_errcode(m_db) : m_result; }

    bool exec(const QString &sql)
    {
        return sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    // The first column of the first row, or def when there is none.
    qint64 integer(const QString &sql, qint64 def = 0, bool *ok = nullptr)
    {
        sqlite3_stmt *statement = nullptr;
        bool good = sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &statement, nullptr) == SQLITE_OK;
        qint64 value = def;
        if (good) {
            const int step = sqlite3_step(statement);
            if (step == SQLITE_ROW)
                value = sqlite3_column_int64(statement, 0);
            good = step == SQLITE_ROW || step == SQLITE_DONE;
        }
        sqlite3_finalize(statement);
        if (ok)
            *ok = good;
        return value;
    }

private:
    sqlite3 *m_db = nullptr;
    int m_result = SQLITE_ERROR;
};

bool execAll(Handle &handle, const QStringList &statements)
{
    for (const QString &sql : statements) {
        if (!handle.exec(sql))
            return false;
    }
    return true;
}

bool insertCard(Handle &handle, const QVector<CardRow> &card)
{
    const QByteArray sql = QStringLiteral("insert into %1 (Sn, Page, Row, Code, R, G, B) values (?, ?, ?, ?, ?, ?, ?)")
                               .arg(Statements::quoted(QString::fromLatin1(Statements::cardTable)))
                               .toUtf8();
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(handle.db(), sql.constData(), -1, &statement, nullptr) != SQLITE_OK)
        return false;
    bool ok = true;
    for (const CardRow &row : card) {
        const QByteArray code = row.code.toUtf8();
        sqlite3_bind_int(statement, 1, row.sn);
        sqlite3_bind_int(statement, 2, row.page);
        sqlite3_bind_int(statement, 3, row.row);
        sqlite3_bind_text(statement, 4, code.constData(), int(code.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(statement, 5, row.r);
        sqlite3_bind_int(statement, 6, row.g);
        sqlite3_bind_int(statement, 7, row.b);
        ok = sqlite3_step(statement) == SQLITE_DONE;
        sqlite3_reset(statement);
        if (!ok)
            break;
    }
    sqlite3_finalize(statement);
    return ok;
}

// The card table made afresh with the card's rows, and its version noted.
bool writeCard(Handle &handle, const QVector<CardRow> &card, int cardVersion)
{
    const QString table = QString::fromLatin1(Statements::cardTable);
    return handle.exec(QStringLiteral("drop table if exists %1").arg(Statements::quoted(table)))
        && execAll(handle, cardTableSql(table)) && insertCard(handle, card)
        && handle.exec(QStringLiteral("create table if not exists %1 (key text primary key, value)")
                           .arg(QLatin1String(metaTable)))
        && handle.exec(QStringLiteral("insert or replace into %1 values ('card_version', %2)")
                           .arg(QLatin1String(metaTable))
                           .arg(cardVersion))
        && handle.exec(QStringLiteral("pragma user_version = %1").arg(schemaVersion))
        && handle.exec(QStringLiteral("pragma application_id = %1").arg(cardVersion));
}

// Whether the file's header already says it holds this schema and this
// card: the schema version in user_version, the card's in application_id.
// Read from the header alone, it spares every start a second connection.
bool headerIsCurrent(const QString &path, int cardVersion)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray header = file.read(100);
    if (header.size() < 100 || !header.startsWith(QByteArrayLiteral("SQLite format 3")))
        return false;
    auto word = [&header](int at) {
        return qint64((quint8(header[at]) << 24) | (quint8(header[at + 1]) << 16) | (quint8(header[at + 2]) << 8)
                      | quint8(header[at + 3]));
    };
    return word(60) >= schemaVersion && word(68) >= cardVersion;
}

bool hasTable(Handle &handle, const QString &name)
{
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(handle.db(), "select 1 from sqlite_master where type = 'table' and name = ?", -1,
                           &statement, nullptr)
        != SQLITE_OK)
        return false;
    const QByteArray utf8 = name.toUtf8();
    sqlite3_bind_text(statement, 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    const bool found = sqlite3_step(statement) == SQLITE_ROW;
    sqlite3_finalize(statement);
    return found;
}

bool isLockError(int code)
{
    return (code & 0xff) == SQLITE_BUSY || (code & 0xff) == SQLITE_LOCKED;
}

// The texts of one column of a statement's rows.
QStringList texts(Handle &handle, const QString &sql, int column = 0)
{
    QStringList result;
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(handle.db(), sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK)
        return result;
    while (sqlite3_step(statement) == SQLITE_ROW)
        result.append(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, column))));
    sqlite3_finalize(statement);
    return result;
}

// Whether the collection table must be made anew so that its serial
// numbers are the row id and never reused: it has only the program's
// columns, is not made so already, and its sn values are whole numbers
// without null or repeat that can stand as row ids.
bool collectionNeedsRebuild(Handle &handle)
{
    QStringList columns = texts(handle, QStringLiteral("select lower(name) from pragma_table_info('baby2')"));
    columns.sort();
    if (columns != QStringList{QStringLiteral("ccard_name"), QStringLiteral("code"), QStringLiteral("sn")})
        return false;
    // The engine finds a row by sn through the row id when sn is the row
    // id, and says whether it numbers new rows with AUTOINCREMENT.
    const bool rowIdKey = texts(handle, QStringLiteral("explain query plan select 1 from baby2 where sn = 0"), 3)
                              .join(QLatin1Char(' '))
                              .contains(QLatin1String("INTEGER PRIMARY KEY"));
    int autoIncrement = 0;
    sqlite3_table_column_metadata(handle.db(), "main", "baby2", "sn", nullptr, nullptr, nullptr, nullptr,
                                  &autoIncrement);
    if (rowIdKey && autoIncrement)
        return false;
    bool ok = false;
    const qint64 keyed = handle.integer(QStringLiteral("select count(*) = count(sn) and count(*) = count(distinct sn)"
                                                       " and count(*) = total(typeof(sn) = 'integer') from baby2"),
                                        0, &ok);
    return ok && keyed == 1;
}

// The collection table made anew with AUTOINCREMENT, every row and every
// serial number copied, its other indexes and triggers made again. Run
// inside the caller's transaction.
bool rebuildCollection(Handle &handle)
{
    const QStringList extras = texts(handle, QStringLiteral(
        "select sql from sqlite_master where tbl_name = 'baby2' and type in ('index', 'trigger')"
        " and sql is not null and name <> 'baby2_code' order by type, name"));
    QStringList statements = collectionTableSql();
    statements.first().replace(QLatin1String("create table baby2 "), QLatin1String("create table tesselle_new_baby2 "));
    statements.removeLast();  // the index, made once the table has its name
    statements << QStringLiteral("insert into tesselle_new_baby2 (sn, ccard_name, code)"
                                 " select sn, ccard_name, code from baby2")
               << QStringLiteral("drop table baby2")
               << QStringLiteral("alter table tesselle_new_baby2 rename to baby2")
               << collectionTableSql().last() << extras;
    // Views that name baby2 stay as they are: the rename must not check them.
    return handle.exec(QStringLiteral("pragma legacy_alter_table = on")) && execAll(handle, statements)
        && handle.exec(QStringLiteral("pragma legacy_alter_table = off"));
}

} // namespace

QStringList cardTableSql(const QString &table)
{
    const QString name = Statements::quoted(table);
    return {
        // NOCASE on the column (not only on a query) lets the Code index
        // serve a case-insensitive "Code = ?".
        QStringLiteral("create table %1 (Sn integer, Page integer, Row integer, "
                       "Code text collate nocase, R integer, G integer, B integer)")
            .arg(name),
        QStringLiteral("create index %1 on %2 (Page, Row)").arg(Statements::quoted(table + QStringLiteral("_page_row")), name),
        QStringLiteral("create index %1 on %2 (Code)").arg(Statements::quoted(table + QStringLiteral("_code")), name),
    };
}

QStringList collectionTableSql()
{
    return {
        // code keeps the default BINARY collation: the collection tells
        // codes apart exactly. AUTOINCREMENT: a serial number is never
        // handed out again, so another program's window never names a new
        // entry by the number of one it showed before.
        QStringLiteral("create table baby2 (sn integer primary key autoincrement, ccard_name text, code text)"),
        QStringLiteral("create index baby2_code on baby2 (code)"),
    };
}

bool parseCard(const QByteArray &csv, QVector<CardRow> *rows, QString *error)
{
    const QList<QByteArray> lines = csv.split('\n');
    if (lines.isEmpty() || lines.first().trimmed() != "Sn,Page,Row,Code,R,G,B") {
        *error = QStringLiteral("the card data does not start with the header Sn,Page,Row,Code,R,G,B");
        return false;
    }
    rows->clear();
    for (int i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines.at(i).trimmed();
        if (line.isEmpty())
            continue;
        const QList<QByteArray> f = line.split(',');
        bool ok = f.size() == 7;
        CardRow row;
        int *numbers[] = {&row.sn, &row.page, &row.row, nullptr, &row.r, &row.g, &row.b};
        for (int c = 0; ok && c < 7; ++c) {
            if (numbers[c])
                *numbers[c] = f.at(c).toInt(&ok);
        }
        if (ok)
            row.code = QString::fromUtf8(f.at(3));
        if (!ok || row.code.isEmpty()) {
            *error = QStringLiteral("line %1 of the card data is not a colour: %2").arg(i + 1).arg(QString::fromUtf8(line));
            return false;
        }
        rows->append(row);
    }
    return true;
}

bool create(const QString &path, const QVector<CardRow> &card, int cardVersion, QString *error)
{
    const QFileInfo target(path);
    QTemporaryFile temporary(target.absolutePath() + QStringLiteral("/.dbtsl-XXXXXX.db"));
    if (!temporary.open()) {
        *error = QStringLiteral("cannot create a file in %1: %2").arg(target.absolutePath(), temporary.errorString());
        return false;
    }
    temporary.close();
    {
        Handle handle(temporary.fileName(), SQLITE_OPEN_READWRITE);
        const bool built = handle.isOpen() && handle.exec(QStringLiteral("begin"))
            && writeCard(handle, card, cardVersion) && execAll(handle, collectionTableSql())
            && handle.exec(QStringLiteral("commit"));
        if (!built) {
            *error = QStringLiteral("cannot build %1: %2").arg(temporary.fileName(), handle.error());
            return false;
        }
    }
    // A hard link fails rather than replace a file that appeared meanwhile.
    if (::link(QFile::encodeName(temporary.fileName()).constData(), QFile::encodeName(path).constData()) != 0) {
        *error = errno == EEXIST ? QStringLiteral("%1 exists already").arg(path)
                                 : QStringLiteral("cannot create %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    return true;  // the temporary name goes with the temporary file
}

Outcome migrate(const QString &path, int cardVersion, const std::function<QVector<CardRow>()> &card)
{
    if (headerIsCurrent(path, cardVersion))
        return {Outcome::UpToDate, {}};
    Handle handle(path, SQLITE_OPEN_READWRITE);
    if (!handle.isOpen())
        return {Outcome::NotOurs, handle.error()};
    sqlite3_busy_timeout(handle.db(), updateBusyMs);

    bool readable = false;
    const qint64 schema = handle.integer(QStringLiteral("pragma user_version"), 0, &readable);
    if (!readable) {
        if (isLockError(handle.errorCode()))
            return {Outcome::Skipped, QStringLiteral("it is in use by another program")};
        return {Outcome::NotOurs, handle.error()};
    }
    if (!hasTable(handle, QString::fromLatin1(Statements::cardTable)) || !hasTable(handle, QStringLiteral("baby2")))
        return {Outcome::NotOurs, QStringLiteral("it holds no card and collection")};
    const qint64 stored = hasTable(handle, QLatin1String(metaTable))
        ? handle.integer(QStringLiteral("select value from %1 where key = 'card_version'").arg(QLatin1String(metaTable)))
        : 0;
    const bool newCard = stored < cardVersion;
    const bool newCollection = collectionNeedsRebuild(handle);
    if (!newCard && !newCollection && schema >= schemaVersion) {
        // Up to date but not yet saying so in its header: noted where the
        // file can be written, so that the next start reads the header only.
        if (sqlite3_db_readonly(handle.db(), "main") == 0)
            handle.exec(QStringLiteral("pragma application_id = %1").arg(cardVersion));
        return {Outcome::UpToDate, {}};
    }

    if (sqlite3_db_readonly(handle.db(), "main") == 1)
        return {Outcome::Skipped, QStringLiteral("it cannot be written")};
    if (!handle.exec(QStringLiteral("begin immediate"))) {
        const bool locked = isLockError(handle.errorCode());
        return {Outcome::Skipped, locked ? QStringLiteral("it is in use by another program")
                                         : QStringLiteral("it cannot be written (%1)").arg(handle.error())};
    }
    bool ok = true;
    if (newCard) {
        const QVector<CardRow> rows = card();
        ok = !rows.isEmpty() && writeCard(handle, rows, cardVersion);
    }
    // Looked at again inside the transaction: another program may have
    // changed the table since.
    if (ok && collectionNeedsRebuild(handle))
        ok = rebuildCollection(handle);
    if (ok)
        ok = handle.exec(QStringLiteral("pragma user_version = %1").arg(schemaVersion))
            && handle.exec(QStringLiteral("pragma application_id = %1").arg(cardVersion));
    if (ok)
        ok = handle.exec(QStringLiteral("commit"));
    if (!ok) {
        const QString reason = handle.error();
        handle.exec(QStringLiteral("rollback"));
        return {Outcome::Skipped, QStringLiteral("it could not be updated (%1)").arg(reason)};
    }
    return {Outcome::Updated, newCard ? QStringLiteral("its card was updated") : QString()};
}

} // namespace DatabaseSetup
