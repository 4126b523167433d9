#pragma once

#include <QString>
#include <QStringList>

// Runs a program to its first painted frame (it exits there when
// TESSELLE_EXIT_AFTER_FIRST_FRAME is set, printing its own peak resident
// memory) and measures the wall time from process start to its end.
struct ProcessFigure
{
    double medianMilliseconds = 0;
    double medianPeakMegabytes = 0;
    bool ok = false;

    static ProcessFigure measure(const QString &program, const QString &workingDir, int runs);
};
