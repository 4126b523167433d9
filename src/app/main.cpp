#include "app/Form1.h"
#include "platform/FirstFrameExit.h"
#include "platform/FontSetup.h"
#include "data/DatabaseFailure.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdlib>

int main(int argc, char *argv[])
{
    useProgramFontConfiguration(argv[0]);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tesselle 5327"));

    // A failing database operation ends the program with a clear word: in a
    // dialog where there is a screen to show it on, always on standard error.
    DatabaseFailure::setHandler([](const DatabaseFailure &failure) {
        const QString platform = QGuiApplication::platformName();
        if (platform != QLatin1String("offscreen") && platform != QLatin1String("minimal"))
            QMessageBox::critical(nullptr, QStringLiteral("Tesselle 5327"), failure.text());
        DatabaseFailure::exitWithMessage(failure);
    });

    Form1 window(QCoreApplication::applicationDirPath());
    FirstFrameExit::installIfRequested(&window);
    window.show();
    return app.exec();
}
