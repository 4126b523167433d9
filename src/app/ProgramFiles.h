// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

// Where the program finds its files: its data folder (movies, fonts
// configuration, card data), with built-in copies of the movies and the card,
// and the database that holds the user's collection.
namespace ProgramFiles {

// Drops XDG_DATA_HOME and its kin when they hold a relative path, as the
// XDG base-directory rules ask; called first thing.
void ignoreRelativeBaseFolders();

// The program's data folder: beside the executable when its movies lie
// there (a build, or a portable copy), else share/tesselle/ beside the
// installation's bin/.
QString dataFolder();

// A data file relative to the data folder when it is there and readable,
// else the program's own built-in copy.
QString builtInCopy(const QString &relativePath);

struct Database
{
    QString path;           // the file to open; empty: none could be had
    QStringList notices;    // what the user should be told, once
    QString error;          // why there is none
    bool readOnly = false;  // the program cannot change the collection in it
};

// The database to open: the file named on the command line (used as it is),
// else dbtsl.db beside the executable when there is one (the portable
// layout), else the user's own in the data location, created from the card
// the program ships on first use. The two latter are brought up to date.
Database database(const QString &named);
// The same, without the look at whether the file can be written.
Database locate(const QString &named);

} // namespace ProgramFiles
