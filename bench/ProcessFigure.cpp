#include "ProcessFigure.h"

#include <QElapsedTimer>

#include <algorithm>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

ProcessFigure ProcessFigure::measure(const QString &program, const QString &workingDir, int runs)
{
    std::vector<double> times;
    std::vector<double> peaks;
    const QByteArray path = program.toLocal8Bit();
    const QByteArray dir = workingDir.toLocal8Bit();
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        const pid_t child = fork();
        if (child == 0) {
            setenv("TESSELLE_EXIT_AFTER_FIRST_FRAME", "1", 1);
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
            if (chdir(dir.constData()) != 0)
                _exit(127);
            execl(path.constData(), path.constData(), static_cast<char *>(nullptr));
            _exit(127);
        }
        if (child < 0)
            return {};
        int status = 0;
        rusage usage{};
        if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
            return {};
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
        peaks.push_back(double(usage.ru_maxrss) / 1024.0);  // ru_maxrss is in KiB
    }
    return {median(times), median(peaks), true};
}
