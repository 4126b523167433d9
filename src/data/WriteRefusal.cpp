// SPDX-License-Identifier: MIT
#include "data/WriteRefusal.h"

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
