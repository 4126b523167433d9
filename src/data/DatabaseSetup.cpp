// SPDX-License-Identifier: MIT
#include "data/DatabaseSetup.h"

#include "data/CardReader.h"
#include "data/Connection.h"
#include "data/Statements.h"
#include "data/UserAction.h"
#include "data/WriteRefusal.h"

#include <QFile>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QTemporaryFile>
#include <QThread>

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace DatabaseSetup {
namespace {

const char *const metaTable = "tesselle_meta";
// How long the update waits for another program's lock before it leaves the
// file as it is: start-up should not hang on it.
constexpr int updateBusyMs = 1000;

bool execAll(Connection &handle, const QStringList &statements)
{
    for (const QString &sql : statements) {
        if (!handle.exec(sql))
            return false;
    }
    return true;
}

bool insertCard(Connection &handle, const QVector<CardRow> &card)
{
    const QString sql = QStringLiteral("insert into %1 (Sn, Page, Row, Code, R, G, B) values (?, ?, ?, ?, ?, ?, ?)")
                            .arg(Statements::quoted(QString::fromLatin1(Statements::cardTable)));
    for (const CardRow &row : card) {
        bool ok = false;
        handle.column(sql, &ok, {row.sn, row.page, row.row, row.code, row.r, row.g, row.b});
        if (!ok)
            return false;
    }
    return true;
}

// The card table made afresh with the card's rows, and its version noted.
bool writeCard(Connection &handle, const QVector<CardRow> &card, int cardVersion)
{
    const QString table = QString::fromLatin1(Statements::cardTable);
    return handle.exec(QStringLiteral("drop table if exists %1").arg(Statements::quoted(table)))
        && execAll(handle, cardTableSql(table)) && insertCard(handle, card)
        && handle.exec(QStringLiteral("create table if not exists %1 (key text primary key, value)")
                           .arg(QLatin1String(metaTable)))
        && handle.exec(QStringLiteral("insert or replace into %1 values ('card_version', %2)")
                           .arg(QLatin1String(metaTable))
                           .arg(cardVersion));
}

// Notes the schema and the card in the header, where the next start reads
// them without a connection; a card version the header holds already is
// never lowered.
bool noteVersions(Connection &handle, int cardVersion)
{
    const qint64 noted = handle.value(QStringLiteral("pragma application_id")).toLongLong();
    return handle.exec(QStringLiteral("pragma user_version = %1").arg(schemaVersion))
        && handle.exec(QStringLiteral("pragma application_id = %1").arg(std::max<qint64>(noted, cardVersion)));
}

// Whether the file's header says it holds exactly this schema and this
// card: the schema version in user_version, the card's in application_id.
// Read from the header alone, it spares every start a second connection.
bool headerIsCurrent(const QString &path, int cardVersion)
{
    // Committed changes in a write-ahead log are newer than the header.
    if (QFileInfo(path + QStringLiteral("-wal")).size() > 0)
        return false;
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
    return word(60) == schemaVersion && word(68) == cardVersion;
}

bool hasTable(Connection &handle, const QString &name)
{
    return !handle.column(QStringLiteral("select 1 from sqlite_master where type = 'table' and name = ?"), nullptr,
                          {name})
                .isEmpty();
}

bool isLockError(int code)
{
    return writeRefusalOf(code) == WriteRefusal::Busy;
}

// The texts of one column of a statement's rows.
QStringList texts(Connection &handle, const QString &sql, int column = 0)
{
    QStringList result;
    for (const QVariant &value : handle.column(sql, nullptr, {}, column))
        result.append(value.toString());
    return result;
}

// The card version the meta table holds; 0 when there is none.
qint64 storedCardVersion(Connection &handle)
{
    return hasTable(handle, QLatin1String(metaTable))
        ? handle.value(QStringLiteral("select value from %1 where key = 'card_version'").arg(QLatin1String(metaTable)))
              .toLongLong()
        : 0;
}

// Whether the collection table must be made anew so that its serial
// numbers are the row id and never reused: it has only the program's
// columns, is not made so already, and its sn values are whole numbers
// without null or repeat that can stand as row ids.
bool collectionNeedsRebuild(Connection &handle)
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
    if (rowIdKey && handle.isAutoIncrement("baby2", "sn"))
        return false;
    bool ok = false;
    const qint64 keyed = handle.value(QStringLiteral("select count(*) = count(sn) and count(*) = count(distinct sn)"
                                                     " and count(*) = total(typeof(sn) = 'integer') from baby2"),
                                      &ok)
                             .toLongLong();
    return ok && keyed == 1;
}

// The collection table made anew with AUTOINCREMENT, every row and every
// serial number copied, its other indexes and triggers made again. Run
// inside the caller's transaction.
bool rebuildCollection(Connection &handle)
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

QString newerThanProgram(Connection &connection)
{
    bool ok = false;
    const qint64 schema = connection.value(QStringLiteral("pragma user_version"), &ok).toLongLong();
    if (!ok)
        return {};  // unreadable just now: the reads that follow say so
    if (schema > schemaVersion)
        return QStringLiteral("it was made by a newer version of Tesselle 5327 (database version %1; this version knows %2)")
            .arg(schema)
            .arg(schemaVersion);
    const qint64 card = storedCardVersion(connection);
    if (card > cardVersion)
        return QStringLiteral("it was made by a newer version of Tesselle 5327 (card version %1; this version knows %2)")
            .arg(card)
            .arg(cardVersion);
    return {};
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
        QString why;
        const std::unique_ptr<Connection> handle = Connection::openAlone(temporary.fileName(), updateBusyMs, &why);
        const bool built = handle && handle->exec(QStringLiteral("begin")) && writeCard(*handle, card, cardVersion)
            && execAll(*handle, collectionTableSql()) && noteVersions(*handle, cardVersion)
            && handle->exec(QStringLiteral("commit"));
        if (!built) {
            *error = QStringLiteral("cannot build %1: %2").arg(temporary.fileName(), handle ? handle->error() : why);
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
    // A newer version's file is known before anything could write it.
    if (const Outcome newer = inspect(path); newer.kind == Outcome::Newer)
        return newer;
    QString why;
    const std::unique_ptr<Connection> opened = Connection::openAlone(path, updateBusyMs, &why);
    if (!opened)
        return {Outcome::NotOurs, why};
    Connection &handle = *opened;

    bool readable = false;
    const qint64 schema = handle.value(QStringLiteral("pragma user_version"), &readable).toLongLong();
    if (!readable) {
        if (isLockError(handle.errorCode()))
            return {Outcome::Skipped, QStringLiteral("it is in use by another program")};
        return {Outcome::NotOurs, handle.error()};
    }
    // Not one byte of a newer version's file is changed: it knows what it
    // holds, this program does not.
    if (const QString newer = newerThanProgram(handle); !newer.isEmpty())
        return {Outcome::Newer, newer};
    if (!hasTable(handle, QString::fromLatin1(Statements::cardTable)) || !hasTable(handle, QStringLiteral("baby2")))
        return {Outcome::NotOurs, QStringLiteral("it holds no card and collection")};
    const bool newCard = storedCardVersion(handle) < cardVersion;
    const bool newCollection = collectionNeedsRebuild(handle);
    if (!newCard && !newCollection && schema >= schemaVersion) {
        // Up to date but not yet saying so in its header: noted where the
        // file can be written, so that the next start reads the header only.
        if (!handle.isReadOnly())
            noteVersions(handle, cardVersion);
        return {Outcome::UpToDate, {}};
    }

    if (handle.isReadOnly())
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
    ok = ok && noteVersions(handle, cardVersion) && handle.exec(QStringLiteral("commit"));
    if (!ok) {
        const QString reason = handle.error();
        handle.exec(QStringLiteral("rollback"));
        return {Outcome::Skipped, QStringLiteral("it could not be updated (%1)").arg(reason)};
    }
    return {Outcome::Updated, newCard ? QStringLiteral("its card was updated") : QString()};
}

bool waitUntilReadable(const QString &path, const std::function<void()> &stillWaiting)
{
    QString why;
    const std::unique_ptr<Connection> handle = Connection::openAlone(path, 0, &why, true);
    if (!handle)
        return true;  // what cannot be opened at all is said by the reads that follow
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        bool ok = false;
        handle->value(QStringLiteral("select count(*) from sqlite_master"), &ok);
        if (ok || !isLockError(handle->errorCode()))
            return true;
        if (waited.elapsed() >= UserAction::busyTimeoutMs())
            return false;
        if (waited.elapsed() >= UserAction::visibleAfterMs)
            stillWaiting();
        QThread::msleep(50);
    }
}

Outcome inspect(const QString &path)
{
    // Read-only: the version a write-ahead log holds is read through the
    // engine, and nothing checkpoints it into the file.
    QString why;
    const std::unique_ptr<Connection> handle = Connection::openAlone(path, updateBusyMs, &why, true);
    if (!handle)
        return {Outcome::NotOurs, why};
    if (const QString newer = newerThanProgram(*handle); !newer.isEmpty())
        return {Outcome::Newer, newer};
    return {Outcome::UpToDate, {}};
}

} // namespace DatabaseSetup
