// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Why a change to the database was not made, or a result could not be
// read, where that is no failure of the program's but the state of the
// file: the user is told and browsing goes on.
enum class WriteRefusal {
    None,      // the change was made
    ReadOnly,  // the file or its folder cannot be written
    Moved,     // the file was deleted or replaced while the program ran
    Busy,      // another program held the file past the busy timeout
    Gone,      // the row to delete was no longer there
    Skipped,   // the engine made no row of the addition (a trigger skipped it)
    NoKey,     // the table's key does not tell its rows apart: rows cannot
               // be deleted one at a time, so none is changed
    Newer,     // the file was made by a newer version of the program and is
               // kept as it is
};

// The refusal an engine result code stands for; None for a real failure.
WriteRefusal writeRefusalOf(int engineCode);

// What the user is told of a refused change to the collection in file; code
// names the colour an addition was for. Empty for None.
QString refusalText(WriteRefusal refusal, const QString &file, const QString &code = QString());
