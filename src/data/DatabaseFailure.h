// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <functional>

// A database operation that failed: which file, what the program was doing,
// and the engine's own message.
struct DatabaseFailure
{
    QString file;
    QString action;
    QString engineMessage;

    // One clear message for the user.
    QString text() const;

    // What happens on a failure. The default writes the message to standard
    // error and ends the process with exit status 1; the program installs a
    // handler that also shows it in a dialog, and tests install one that
    // records it. When a handler returns, the failed operation leaves an
    // empty result behind, so nothing reads stale or missing data.
    using Handler = std::function<void(const DatabaseFailure &)>;
    static void setHandler(Handler handler);
    static void report(const DatabaseFailure &failure);
    static void exitWithMessage(const DatabaseFailure &failure);
};
