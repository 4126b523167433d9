#pragma once

// Why a change to the database was not made, where that is no failure of
// the program's but the state of the file: the user is told and browsing
// goes on.
enum class WriteRefusal {
    None,      // the change was made
    ReadOnly,  // the file or its folder cannot be written
    Moved,     // the file was deleted or replaced while the program ran
    Busy,      // another program holds the file past the busy timeout
};

// The refusal an engine result code stands for; None for a real failure.
WriteRefusal writeRefusalOf(int engineCode);
