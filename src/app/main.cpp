// SPDX-License-Identifier: MIT
#include "app/CommandLine.h"
#include "app/CommandLineActions.h"

#include "app/Form1.h"
#include "app/NativeFileNames.h"
#include "app/ProgramFiles.h"
#include "data/DatabaseFailure.h"
#include "data/DatabaseSetup.h"
#include "platform/FirstFrameExit.h"
#include "platform/FontSetup.h"
#include "platform/ScreenColour.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>
#include <memory>

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

// The options that work without a display, named where one is missing.
const char *const noDisplayLine =
    "tesselle: no display to open the window on (%s); without one, only --help, --version, "
    "--export, --import and --nearest work.\n";

// The X11 or Wayland display the window would be opened on; whether one is
// named. A platform given otherwise (offscreen, vnc, ...) needs none.
bool displayNamed(int argc, char *argv[])
{
    QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    for (int i = 1; i + 1 < argc; ++i) {
        if (qstrcmp(argv[i], "-platform") == 0 || qstrcmp(argv[i], "--platform") == 0)
            platform = argv[i + 1];
        if (qstrcmp(argv[i], "-display") == 0 || qstrcmp(argv[i], "--display") == 0)
            return true;
    }
    if (!platform.isEmpty() && !platform.startsWith("xcb") && !platform.startsWith("wayland"))
        return true;
    return !qgetenv("DISPLAY").isEmpty() || !qgetenv("WAYLAND_DISPLAY").isEmpty();
}

struct HeldMessage
{
    QtMsgType type;
    QString text;
};
QList<HeldMessage> &heldMessages()
{
    static QList<HeldMessage> held;
    return held;
}

// Qt ends the program when the display named cannot be opened: one line
// instead of its advice to reinstall, and status 1.
QtMessageHandler qtMessages = nullptr;
bool startingGui = false;
void displayFailure(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (startingGui && type == QtFatalMsg) {
        const QByteArray display = qgetenv("DISPLAY");
        std::fprintf(stderr, noDisplayLine,
                     display.isEmpty() ? "the window system could not be reached"
                                       : QByteArray("DISPLAY " + display + " could not be opened").constData());
        std::fflush(stderr);
        std::_Exit(1);
    }
    // Held until the display is open: a failure to open it says one line.
    if (startingGui) {
        heldMessages().append({type, message});
        return;
    }
    qtMessages(type, context, message);
}

void showFatal(const QString &text)
{
    if (hasScreen())
        QMessageBox::critical(nullptr, QStringLiteral("Tesselle 5327"), text);
}

// Start-up cannot go on without the card: a plain word, never a statement's.
void sayHeld(const QString &path)
{
    const QString text = QStringLiteral("Another program is using the collection %1; close it and start again.").arg(path);
    std::fprintf(stderr, "tesselle: %s\n", qPrintable(text));
    std::fflush(stderr);
    showFatal(text);
}

// The card is read before the window shows: a file another program holds
// is waited for, said after a second on standard error and in a message
// box, and, held past the wait, ends the program with a plain word.
bool waitForTheCard(const QString &path)
{
    std::unique_ptr<QMessageBox> box;
    const bool readable = DatabaseSetup::waitUntilReadable(path, [&box, &path] {
        if (!box) {
            const QString text = QStringLiteral("Another program is using the collection %1; waiting for it to finish\u2026")
                                     .arg(path);
            std::fprintf(stderr, "tesselle: %s\n", qPrintable(text));
            std::fflush(stderr);
            if (hasScreen()) {
                box = std::make_unique<QMessageBox>(QMessageBox::Information, QStringLiteral("Tesselle 5327"), text,
                                                    QMessageBox::NoButton);
                box->setObjectName(QStringLiteral("startupWait"));
                box->show();
            }
        }
        // Between two tries nothing of the engine's is under way, and no
        // window of the program's is there yet: the box is drawn.
        QCoreApplication::processEvents();
    });
    box.reset();
    if (!readable)
        sayHeld(path);
    return readable;
}

} // namespace

int main(int argc, char *argv[])
{
    ProgramFiles::ignoreRelativeBaseFolders();
    NativeFileNames::capture(argc, argv);
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

    if (!displayNamed(argc, argv)) {
        std::fprintf(stderr, noDisplayLine, "DISPLAY and WAYLAND_DISPLAY are not set");
        return 1;
    }

    useProgramFontConfiguration(argv[0]);
    startingGui = true;
    qtMessages = qInstallMessageHandler(displayFailure);
    QApplication app(argc, argv);
    startingGui = false;
    for (const HeldMessage &held : heldMessages())
        qtMessages(held.type, QMessageLogContext(), held.text);
    heldMessages().clear();
    QApplication::setApplicationName(QStringLiteral("tesselle"));
    QApplication::setApplicationVersion(QStringLiteral(TESSELLE_VERSION));
    // The display's profile is read now, and its transform made while the
    // window is.
    ScreenColour::instance();
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tesselle.Tesselle"));

    // A failing database operation ends the program with a clear word: in a
    // dialog where there is a screen to show it on, always on standard error.
    DatabaseFailure::setHandler([](const DatabaseFailure &failure) {
        showFatal(failure.text());
        DatabaseFailure::exitWithMessage(failure);
    });

    const ProgramFiles::Database database
        = ProgramFiles::database(NativeFileNames::forOpening(QStringLiteral("database"), commandLine.database()));
    if (database.path.isEmpty()) {
        const QString text = QStringLiteral("Tesselle 5327 has no database to open: %1").arg(database.error);
        std::fprintf(stderr, "%s\n", qPrintable(text));
        showFatal(text);
        return 1;
    }

    if (!waitForTheCard(database.path))
        return 1;
    Form1 window(ProgramFiles::dataFolder(), database.path);
    // Taken again by another program just after the wait: the same word.
    if (!window.cardRead()) {
        sayHeld(database.path);
        return 1;
    }
    FirstFrameExit::installIfRequested(&window);
    ScreenColour::instance()->follow(&window);
    window.show();
    // What start-up found is said together; a collection that cannot be
    // changed stays said until the user acts.
    if (database.readOnly)
        window.showRefusal(database.notices.join(QLatin1Char('\n')));
    else if (!database.notices.isEmpty())
        window.showNotice(database.notices.join(QLatin1Char('\n')));
    return app.exec();
}
