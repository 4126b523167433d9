// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// File names given on the command line as the system gives them: bytes,
// which need not be UTF-8. Qt reads them into text and back as UTF-8, and a
// name whose bytes are not UTF-8 would come back as another name. Such a
// name is reached through a link of the program's own (a private folder,
// removed at exit), whose target is the bytes as given.
namespace NativeFileNames {

// Keeps the bytes given to --database, --import and --export; called
// first thing with main's arguments.
void capture(int argc, char *argv[]);

// A path through which the file named by option ("database", "import") can
// be opened: given itself when its bytes survive as text.
QString forOpening(const QString &option, const QString &given);

// For --export: the path to write to, in the same folder as the file named,
// and, once written there, the move into the name as given. finishWriting
// returns false (the system's reason in error) when the move failed.
QString forWriting(const QString &given);
bool finishWriting(QString *error);

// text with the paths forOpening and forWriting made replaced by the names
// as given, as near as text can show them.
QString shown(const QString &text);

} // namespace NativeFileNames
