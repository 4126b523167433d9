// SPDX-License-Identifier: MIT
#include "ProcessFigure.h"

#include <QByteArrayList>
#include <QElapsedTimer>

#include <algorithm>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

bool ProcessFigure::run(const QString &program, const QString &workingDir, Sample *sample)
{
    const QByteArray path = program.toLocal8Bit();
    const QByteArray dir = workingDir.toLocal8Bit();

    // The child's environment: ours, with the first-frame switch, offscreen
    // unless TESSELLE_BENCH_PLATFORM names another platform (xcb on Xvfb).
    const QByteArray platform = qEnvironmentVariableIsSet("TESSELLE_BENCH_PLATFORM")
                                    ? qgetenv("TESSELLE_BENCH_PLATFORM")
                                    : QByteArrayLiteral("offscreen");
    std::vector<QByteArray> variables = {"TESSELLE_EXIT_AFTER_FIRST_FRAME=1", "QT_QPA_PLATFORM=" + platform};
    for (char **e = environ; *e; ++e) {
        const QByteArray entry(*e);
        if (!entry.startsWith("TESSELLE_EXIT_AFTER_FIRST_FRAME=") && !entry.startsWith("QT_QPA_PLATFORM="))
            variables.push_back(entry);
    }
    std::vector<char *> envp;
    for (QByteArray &v : variables)
        envp.push_back(v.data());
    envp.push_back(nullptr);

    // posix_spawn shares no memory with the child before it starts the
    // program, so the child's peak is the program's own. The program tells
    // its peak memory on its standard output right after its first frame;
    // the clock stops when that line arrives, before the program's teardown.
    static const QByteArray report("peak-memory-kb:");
    int out[2];
    if (pipe(out) != 0)
        return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, dir.constData());
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    char *argv[] = {const_cast<char *>(path.constData()), nullptr};
    QElapsedTimer clock;
    clock.start();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, path.constData(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        return false;
    }
    QByteArray output;
    qint64 reportedAt = -1;
    char buffer[4096];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) {
        output.append(buffer, n);
        if (reportedAt < 0) {
            const qsizetype at = output.indexOf(report);
            if (at >= 0 && output.indexOf('\n', at) >= 0)
                reportedAt = clock.nsecsElapsed();
        }
    }
    close(out[0]);
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0
        || reportedAt < 0)
        return false;
    const qsizetype at = output.indexOf(report);
    sample->milliseconds = double(reportedAt) / 1e6;
    sample->peakMegabytes = output.mid(at + report.size()).trimmed().split('\n').value(0).toDouble() / 1024.0;
    return true;
}

double ProcessFigure::median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

ProcessFigure ProcessFigure::of(const std::vector<Sample> &samples)
{
    std::vector<double> times;
    std::vector<double> peaks;
    for (const Sample &s : samples) {
        times.push_back(s.milliseconds);
        peaks.push_back(s.peakMegabytes);
    }
    return {median(times), median(peaks), !samples.empty()};
}
