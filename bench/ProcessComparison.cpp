// SPDX-License-Identifier: MIT
#include "ProcessComparison.h"

ProcessComparison ProcessComparison::of(const std::vector<ProcessFigure::Sample> &first,
                                        const std::vector<ProcessFigure::Sample> &second)
{
    ProcessComparison c;
    if (first.empty() || first.size() != second.size())
        return c;
    std::vector<double> times;
    std::vector<double> memories;
    for (size_t i = 0; i < first.size(); ++i) {
        if (second[i].milliseconds <= 0 || second[i].peakMegabytes <= 0)
            return c;
        times.push_back(first[i].milliseconds / second[i].milliseconds);
        memories.push_back(first[i].peakMegabytes / second[i].peakMegabytes);
    }
    c.first = ProcessFigure::of(first);
    c.second = ProcessFigure::of(second);
    c.timeRatio = ProcessFigure::median(times);
    c.memoryRatio = ProcessFigure::median(memories);
    c.ok = c.first.ok && c.second.ok;
    return c;
}
