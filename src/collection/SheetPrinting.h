// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <functional>

class QPageSize;
class QPagedPaintDevice;
class QWidget;

// The print dialog and the printer live in a module of the program's own
// (tesselle-print.so), loaded the first time the user prints: Qt Print
// Support and what it pulls in then cost nothing at start.
namespace SheetPrinting {

using Paint = std::function<void(QPagedPaintDevice *)>;

struct Outcome
{
    bool printed = false;    // the user chose a printer and the sheet went to it
    QString destination;     // the printer's name, or the file printed to
    QString error;           // why nothing could be offered; empty after Cancel
};

// Asks for a printer through the system's print dialog and paints the sheet
// on it.
Outcome print(QWidget *parent, const QString &title, const QPageSize &paper, const QString &docName,
              const Paint &paint);

// Where the module is looked for: beside the executable (a build, a
// portable copy), else in the installation's library folder.
QStringList moduleCandidates();

} // namespace SheetPrinting
