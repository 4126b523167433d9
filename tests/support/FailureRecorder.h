#pragma once

#include "data/DatabaseFailure.h"

#include <QList>

// Records database failures instead of ending the process, for as long as
// it lives.
class FailureRecorder
{
public:
    FailureRecorder()
    {
        DatabaseFailure::setHandler([this](const DatabaseFailure &f) { failures.append(f); });
    }
    ~FailureRecorder() { DatabaseFailure::setHandler(nullptr); }
    FailureRecorder(const FailureRecorder &) = delete;
    FailureRecorder &operator=(const FailureRecorder &) = delete;

    QList<DatabaseFailure> failures;
};
