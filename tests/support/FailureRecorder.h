// SPDX-License-Identifier: MIT
#pragma once

#include "data/DatabaseFailure.h"

#include <QList>

// Records database failures instead of ending the process, for as long as
// it lives. Recorders nest: a failure goes to the one made last.
class FailureRecorder
{
public:
    FailureRecorder()
    {
        active().append(this);
        DatabaseFailure::setHandler([](const DatabaseFailure &f) { active().last()->failures.append(f); });
    }
    ~FailureRecorder()
    {
        active().removeOne(this);
        if (active().isEmpty())
            DatabaseFailure::setHandler(nullptr);
    }
    FailureRecorder(const FailureRecorder &) = delete;
    FailureRecorder &operator=(const FailureRecorder &) = delete;

    QList<DatabaseFailure> failures;

private:
    static QList<FailureRecorder *> &active()
    {
        static QList<FailureRecorder *> recorders;
        return recorders;
    }
};
