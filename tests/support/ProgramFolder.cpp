// SPDX-License-Identifier: MIT
#include "ProgramFolder.h"

#include "CardSchema.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <QUuid>

#include <sys/stat.h>

namespace {

// Runs f on a short-lived connection to the file.
template <typename F>
void withDatabase(const QString &path, F f)
{
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open())
            qFatal("cannot open %s: %s", qPrintable(path), qPrintable(db.lastError().text()));
        f(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

void check(bool ok, const QString &what, const QString &error)
{
    if (!ok)
        qFatal("fixture: %s failed: %s", qPrintable(what), qPrintable(error));
}

} // namespace

ProgramFolder::ProgramFolder()
{
    const QDir source(QStringLiteral(TESSELLE_SOURCE_DIR "/swf"));
    QDir(m_dir.path()).mkpath(QStringLiteral("swf"));
    const QStringList movies = source.entryList({QStringLiteral("*.svg")}, QDir::Files);
    for (const QString &movie : movies)
        QFile::copy(source.filePath(movie), QDir(m_dir.path()).filePath(QStringLiteral("swf/") + movie));
}

QString ProgramFolder::databasePath() const
{
    return QDir(m_dir.path()).filePath(QStringLiteral("dbtsl.db"));
}

void ProgramFolder::createDatabase(const QVector<CardRow> &rows)
{
    withDatabase(databasePath(), [&rows](QSqlDatabase &db) {
        QString error;
        check(CardSchema::createCardTable(db, QStringLiteral("5327"), &error), "card table", error);
        check(CardSchema::createCollectionTable(db, &error), "collection table", error);
        check(CardSchema::insertCard(db, QStringLiteral("5327"), rows, &error), "card rows", error);
    });
}

void ProgramFolder::addCardTable(const QString &table, const QVector<CardRow> &rows)
{
    withDatabase(databasePath(), [&](QSqlDatabase &db) {
        QString error;
        check(CardSchema::createCardTable(db, table, &error), "card table", error);
        check(CardSchema::insertCard(db, table, rows, &error), "card rows", error);
    });
}

void ProgramFolder::addCollectionRows(const QVector<QPair<QString, QString>> &tableAndCode)
{
    withDatabase(databasePath(), [&](QSqlDatabase &db) {
        db.transaction();
        QSqlQuery query(db);
        query.prepare(QStringLiteral("insert into baby2 (ccard_name, code) values (?, ?)"));
        for (const auto &entry : tableAndCode) {
            query.addBindValue(entry.first);
            query.addBindValue(entry.second);
            check(query.exec(), "collection row", query.lastError().text());
        }
        db.commit();
    });
}

QStringList ProgramFolder::collectionCodes() const
{
    QStringList codes;
    withDatabase(databasePath(), [&codes](QSqlDatabase &db) {
        QSqlQuery query(QStringLiteral("select code from baby2 order by sn"), db);
        while (query.next())
            codes.append(query.value(0).toString());
    });
    return codes;
}

void ProgramFolder::exec(const QString &sql) const
{
    withDatabase(databasePath(), [&sql](QSqlDatabase &db) {
        QSqlQuery query(db);
        check(query.exec(sql), sql, query.lastError().text());
    });
}

QVariantList ProgramFolder::column(const QString &sql, const QVariantList &values) const
{
    QVariantList result;
    withDatabase(databasePath(), [&](QSqlDatabase &db) {
        QSqlQuery query(db);
        query.prepare(sql);
        for (const QVariant &value : values)
            query.addBindValue(value);
        check(query.exec(), sql, query.lastError().text());
        while (query.next())
            result.append(query.value(0));
    });
    return result;
}

QString ProgramFolder::codeFor(int page, int row)
{
    return QStringLiteral("T%1.%2.%3")
        .arg(page / 100)
        .arg(page % 100, 2, 10, QLatin1Char('0'))
        .arg(row, 2, 10, QLatin1Char('0'));
}

CardRow ProgramFolder::rowFor(int sn, int page, int row)
{
    return CardRow{sn, page, row, codeFor(page, row), (page * 37) % 256, (row * 29) % 256,
                   (page + row * 7) % 256};
}

QVector<CardRow> ProgramFolder::card(int pages, int rowsPerPage)
{
    QVector<CardRow> rows;
    int sn = 0;
    for (int page = 1; page <= pages; ++page) {
        for (int row = 1; row <= rowsPerPage; ++row)
            rows.append(rowFor(++sn, page, row));
    }
    return rows;
}

QString ProgramFolder::makeNode(const QString &name, const QString &kind) const
{
    const QString path = QDir(m_dir.path()).filePath(name);
    const bool made = kind == QLatin1String("fifo") ? ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0
                                                    : QFile::link(kind, path);
    return made ? path : QString();
}

bool ProgramFolder::isNode(const QString &path, const QString &kind)
{
    struct stat info;
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    return kind == QLatin1String("fifo") ? S_ISFIFO(info.st_mode)
                                         : S_ISLNK(info.st_mode) && QFile::symLinkTarget(path) == kind;
}
