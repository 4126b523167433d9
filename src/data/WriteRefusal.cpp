// SPDX-License-Identifier: MIT
#include "data/WriteRefusal.h"

#include <QCoreApplication>
#include <QString>

#include <sqlite3.h>

WriteRefusal writeRefusalOf(int engineCode)
{
    if (engineCode == SQLITE_READONLY_DBMOVED)
        return WriteRefusal::Moved;
    switch (engineCode & 0xff) {
    case SQLITE_READONLY:
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
        return WriteRefusal::ReadOnly;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return WriteRefusal::Busy;
    default:
        return WriteRefusal::None;
    }
}

QString refusalText(WriteRefusal refusal, const QString &file, const QString &code)
{
    const auto tr = [](const char *text) { return QCoreApplication::translate("WriteRefusal", text); };
    switch (refusal) {
    case WriteRefusal::None:
        break;
    case WriteRefusal::ReadOnly:
        return tr("The collection cannot be changed: %1 is read-only.").arg(file);
    case WriteRefusal::Moved:
        return tr("The collection cannot be changed: %1 was deleted or replaced by another program.").arg(file);
    case WriteRefusal::Busy:
        return tr("The collection is in use by another program; try again.");
    case WriteRefusal::Gone:
        return tr("That entry was already removed by another program.");
    case WriteRefusal::Skipped:
        return tr("%1 was not added: the collection's file did not take it.").arg(code);
    case WriteRefusal::NoKey:
        return tr("The collection cannot be changed: its entries have no serial numbers of their own (sn).");
    case WriteRefusal::Newer:
        return tr("The collection cannot be changed: %1 was made by a newer version of Tesselle 5327.").arg(file);
    }
    return QString();
}
