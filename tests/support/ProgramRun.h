// SPDX-License-Identifier: MIT
#pragma once

#include <QHash>
#include <QProcess>
#include <QString>
#include <QStringList>

class ProgramFolder;

// The real program run as a user runs it, from a copy in a test's program
// folder (so that it finds its files there), with a home folder of its own
// inside that folder and no display, data home or desktop of the caller's.
namespace ProgramRun {

enum class Display {
    None,        // no display at all: the command-line actions
    FirstFrame,  // offscreen, ending after its first frame
    Offscreen,   // offscreen, running until it is ended
};

struct Options
{
    Options(Display display = Display::FirstFrame, bool unprivileged = false)
        : display(display), unprivileged(unprivileged) {}
    Display display;
    // As root, run as "nobody" (uid 65534), for whom file permissions hold.
    bool unprivileged;
    // Further environment variables, set after the caller's are cleaned.
    QHash<QString, QString> environment;
    // How long run() waits for the program to end.
    int waitMs = 60000;
};

struct Result
{
    bool finished = false;  // within Options::waitMs
    QProcess::ExitStatus status = QProcess::CrashExit;
    int code = -1;          // -1 unless it exited normally
    QString out;
    QString err;
};

// The program's path in folder, copied there on first use.
QString programIn(const ProgramFolder &folder);

// Starts the program in folder with arguments; the caller waits for it.
void start(QProcess &process, const ProgramFolder &folder, const QStringList &arguments = {},
           const Options &options = {});

// Runs the program in folder to its end.
Result run(const ProgramFolder &folder, const QStringList &arguments = {}, const Options &options = {});

} // namespace ProgramRun
