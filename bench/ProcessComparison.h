// SPDX-License-Identifier: MIT
#pragma once

#include "ProcessFigure.h"

#include <vector>

// Two programs run by turns: each one's medians, and the medians of the
// ratios of the runs made one after the other, which the machine's changing
// pace disturbs less than a ratio of medians.
struct ProcessComparison
{
    ProcessFigure first;
    ProcessFigure second;
    double timeRatio = 0;
    double memoryRatio = 0;
    bool ok = false;

    // first[i] and second[i] ran one after the other.
    static ProcessComparison of(const std::vector<ProcessFigure::Sample> &first,
                                const std::vector<ProcessFigure::Sample> &second);
};
