// SPDX-License-Identifier: MIT
#include "CardSchema.h"

#include "data/CardRow.h"
#include "data/DatabaseSetup.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

namespace CardSchema {
namespace {

// Commits the transaction, or rolls it back and says why it could not.
bool commit(QSqlDatabase &db, const QString &what, QString *error);

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

QString quotedTable(const QSqlDatabase &db, const QString &name)
{
    return db.driver()->escapeIdentifier(name, QSqlDriver::TableName);
}

// Runs the statements in one transaction; `what` names the step in an
// error message.
bool execAll(QSqlDatabase &db, const QStringList &statements, const QString &what,
             QString *error)
{
    if (!db.transaction()) {
        setError(error, QStringLiteral("%1: cannot begin a transaction: %2")
                            .arg(what, db.lastError().text()));
        return false;
    }
    for (const QString &sql : statements) {
        QSqlQuery query(db);
        if (!query.exec(sql)) {
            const QString reason = query.lastError().text();
            query.finish();
            db.rollback();
            setError(error, QStringLiteral("%1: %2").arg(what, reason));
            return false;
        }
    }
    return commit(db, what, error);
}

bool commit(QSqlDatabase &db, const QString &what, QString *error)
{
    if (db.commit())
        return true;
    const QString reason = db.lastError().text();
    db.rollback();
    setError(error, QStringLiteral("%1: cannot commit: %2").arg(what, reason));
    return false;
}

} // namespace

bool createCardTable(QSqlDatabase &db, const QString &table, QString *error)
{
    const QStringList statements = DatabaseSetup::cardTableSql(table);
    const QString name = quotedTable(db, table);
    return execAll(db, statements, QStringLiteral("create card table %1").arg(name), error);
}

bool createCollectionTable(QSqlDatabase &db, QString *error)
{
    const QStringList statements = DatabaseSetup::collectionTableSql();
    return execAll(db, statements, QStringLiteral("create collection table baby2"), error);
}

bool insertCard(QSqlDatabase &db, const QString &table, const QVector<CardRow> &rows,
                QString *error)
{
    const QString name = quotedTable(db, table);
    const QString what = QStringLiteral("insert into card table %1").arg(name);
    if (!db.transaction()) {
        setError(error, QStringLiteral("%1: cannot begin a transaction: %2")
                            .arg(what, db.lastError().text()));
        return false;
    }

    QString failure;
    {
        QSqlQuery query(db);
        if (!query.prepare(QStringLiteral("INSERT INTO %1 (Sn, Page, Row, Code, R, G, B) "
                                          "VALUES (?, ?, ?, ?, ?, ?, ?)")
                               .arg(name))) {
            failure = QStringLiteral("%1: %2").arg(what, query.lastError().text());
        }
        for (int i = 0; failure.isEmpty() && i < rows.size(); ++i) {
            const CardRow &row = rows.at(i);
            query.bindValue(0, row.sn);
            query.bindValue(1, row.page);
            query.bindValue(2, row.row);
            query.bindValue(3, row.code);
            query.bindValue(4, row.r);
            query.bindValue(5, row.g);
            query.bindValue(6, row.b);
            if (!query.exec())
                failure = QStringLiteral("%1, Sn %2: %3")
                              .arg(what)
                              .arg(row.sn)
                              .arg(query.lastError().text());
        }
        query.finish();
    }

    if (!failure.isEmpty()) {
        db.rollback();
        setError(error, failure);
        return false;
    }
    return commit(db, what, error);
}

} // namespace CardSchema
