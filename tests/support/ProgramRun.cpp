// SPDX-License-Identifier: MIT
#include "ProgramRun.h"

#include "ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>

#include <sys/stat.h>
#include <unistd.h>

namespace ProgramRun {

QString programIn(const ProgramFolder &folder)
{
    const QString program = QDir(folder.path()).filePath(QStringLiteral("tesselle"));
    if (!QFile::exists(program))
        QFile::copy(QStringLiteral(TESSELLE_PROGRAM), program);
    return program;
}

void start(QProcess &process, const ProgramFolder &folder, const QStringList &arguments, const Options &options)
{
    const QString program = programIn(folder);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), QDir(folder.path()).filePath(QStringLiteral("home")));
    for (const char *name : {"XDG_DATA_HOME", "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM",
                             "TESSELLE_EXIT_AFTER_FIRST_FRAME"})
        env.remove(QLatin1String(name));
    if (options.display != Display::None)
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (options.display == Display::FirstFrame)
        env.insert(QStringLiteral("TESSELLE_EXIT_AFTER_FIRST_FRAME"), QStringLiteral("1"));
    for (auto it = options.environment.begin(); it != options.environment.end(); ++it)
        env.insert(it.key(), it.value());
    process.setProcessEnvironment(env);
    if (options.unprivileged && geteuid() == 0) {
        ::chmod(QFile::encodeName(folder.path()).constData(), 0755);
        ::chmod(QFile::encodeName(program).constData(), 0755);
        process.start(QStringLiteral("setpriv"), QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                                             QStringLiteral("--clear-groups"), program}
                                                     + arguments);
    } else {
        process.start(program, arguments);
    }
}

Result run(const ProgramFolder &folder, const QStringList &arguments, const Options &options)
{
    QProcess process;
    start(process, folder, arguments, options);
    Result result;
    result.finished = process.waitForFinished(options.waitMs);
    if (!result.finished) {
        process.kill();
        process.waitForFinished();
    }
    result.status = process.exitStatus();
    result.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    result.err = QString::fromLocal8Bit(process.readAllStandardError());
    return result;
}

} // namespace ProgramRun
