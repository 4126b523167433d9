// SPDX-License-Identifier: MIT
#include "data/DatabaseFailure.h"

#include <cstdio>
#include <cstdlib>

namespace {
DatabaseFailure::Handler &currentHandler()
{
    static DatabaseFailure::Handler handler = &DatabaseFailure::exitWithMessage;
    return handler;
}
} // namespace

QString DatabaseFailure::text() const
{
    QString message = QStringLiteral("Tesselle 5327 could not %1 in the database file \"%2\".")
                          .arg(action, file);
    if (!engineMessage.trimmed().isEmpty())
        message += QStringLiteral("\n\nThe database said: %1").arg(engineMessage.trimmed());
    return message;
}

void DatabaseFailure::setHandler(Handler handler)
{
    currentHandler() = handler ? std::move(handler) : Handler(&DatabaseFailure::exitWithMessage);
}

void DatabaseFailure::report(const DatabaseFailure &failure)
{
    currentHandler()(failure);
}

void DatabaseFailure::exitWithMessage(const DatabaseFailure &failure)
{
    std::fprintf(stderr, "%s\n", qPrintable(failure.text()));
    std::fflush(stderr);
    // Every change the program made was committed when it was made, so
    // leaving at once loses nothing and runs no destructor of a half-failed
    // state.
    std::_Exit(1);
}
