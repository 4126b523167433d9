// SPDX-License-Identifier: MIT
#include "app/CommandLine.h"
#include "app/CommandLineActions.h"

#include "app/Form1.h"
#include "app/ProgramFiles.h"
#include "data/DatabaseFailure.h"
#include "platform/FirstFrameExit.h"
#include "platform/FontSetup.h"
#include "platform/ScreenColour.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>

#include <cstdio>

namespace {

QStringList argumentsOf(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

bool hasScreen()
{
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

void showFatal(const QString &text)
{
    if (hasScreen())
        QMessageBox::critical(nullptr, QStringLiteral("Tesselle 5327"), text);
}

} // namespace

int main(int argc, char *argv[])
{
    // Options that open no window are answered before any display is asked
    // for.
    CommandLine commandLine;
    if (!commandLine.parse(argumentsOf(argc, argv))) {
        std::fprintf(stderr, "tesselle: %s\n\n%s", qPrintable(commandLine.error()),
                     qPrintable(commandLine.helpText()));
        return 2;
    }
    if (commandLine.wantsHelp()) {
        std::printf("%s", qPrintable(commandLine.helpText()));
        return 0;
    }
    if (commandLine.wantsVersion()) {
        std::printf("tesselle %s\n", TESSELLE_VERSION);
        return 0;
    }

    // A swatch sheet is drawn, which needs fonts and so a GUI application,
    // though no display.
    if (commandLine.opensNoWindow() && commandLine.exportFile().endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        useProgramFontConfiguration(argv[0]);
        QGuiApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("tesselle"));
        return CommandLineActions::run(commandLine);
    }
    if (commandLine.opensNoWindow()) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("tesselle"));
        return CommandLineActions::run(commandLine);
    }

    useProgramFontConfiguration(argv[0]);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tesselle"));
    QApplication::setApplicationVersion(QStringLiteral(TESSELLE_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tesselle.Tesselle"));

    // A failing database operation ends the program with a clear word: in a
    // dialog where there is a screen to show it on, always on standard error.
    DatabaseFailure::setHandler([](const DatabaseFailure &failure) {
        showFatal(failure.text());
        DatabaseFailure::exitWithMessage(failure);
    });

    const ProgramFiles::Database database = ProgramFiles::database(commandLine.database());
    if (database.path.isEmpty()) {
        const QString text = QStringLiteral("Tesselle 5327 has no database to open: %1").arg(database.error);
        std::fprintf(stderr, "%s\n", qPrintable(text));
        showFatal(text);
        return 1;
    }

    Form1 window(ProgramFiles::dataFolder(), database.path);
    FirstFrameExit::installIfRequested(&window);
    ScreenColour::instance()->follow(&window);
    window.show();
    for (const QString &notice : database.notices)
        window.showNotice(notice);
    return app.exec();
}
