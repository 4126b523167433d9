// SPDX-License-Identifier: MIT
#pragma once

#include <benchmark/benchmark.h>

#include "ProcessComparison.h"

#include <map>
#include <string>

// Collects the real time per iteration of every benchmark as it is
// reported, so that the ratios can be printed at the end of the run.
class CollectingReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override;

    // Nanoseconds per iteration, by benchmark name.
    const std::map<std::string, double> &times() const { return m_times; }

private:
    std::map<std::string, double> m_times;
    std::map<std::string, double> m_medians;
};

// Prints each ratio beside its target; true when every one is met.
// processes compares the program (first) with the bare window (second).
bool printRatios(const std::map<std::string, double> &times,
                 const ProcessComparison &processes);
// The same for a run of some benchmarks: the ratios whose figures it
// measured, without the whole-process ones.
bool printMeasuredRatios(const std::map<std::string, double> &times);
// The whole-process ratios alone: start-up and peak memory beside the bare
// window.
bool printProcessRatios(const ProcessComparison &processes);
