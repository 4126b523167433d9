// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <vector>

// Runs a program to its first painted frame (it prints its own peak resident
// memory then and exits, when TESSELLE_EXIT_AFTER_FIRST_FRAME is set) and
// measures the wall time from process start to that report.
struct ProcessFigure
{
    double medianMilliseconds = 0;
    double medianPeakMegabytes = 0;
    bool ok = false;

    struct Sample
    {
        double milliseconds = 0;
        double peakMegabytes = 0;
    };

    // One run; false when the program fails or reports nothing.
    static bool run(const QString &program, const QString &workingDir, Sample *sample);
    // The medians of several runs.
    static ProcessFigure of(const std::vector<Sample> &samples);
    static double median(std::vector<double> values);
};
