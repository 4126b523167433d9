// SPDX-License-Identifier: MIT
// Feeds arbitrary bytes to the movie reader as a movie file, and what it
// makes of them to the SVG renderer the way the movie control does: load
// every look's copy, draw it, and draw each clickable element alone as the
// hit map does. Whatever a movie file holds, none of this may crash, leak
// or hang, and none of it may open a file: the reader promises that drawing
// a movie reads nothing but the movie.
#include "movie/MovieDocument.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTransform>

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <dlfcn.h>
#include <fcntl.h>

namespace {

// Set while an input is read and drawn.
bool watchingFiles = false;

// What Qt and the font system open by themselves while drawing: image
// plugins, fonts and their configuration, and the kernel's own files.
bool isSystemFile(const char *path)
{
    static const char *const prefixes[] = {
        "/usr/share/fonts/", "/usr/share/fontconfig/", "/usr/local/share/fonts/", "/etc/fonts/",
        "/var/cache/fontconfig/", "/proc/", "/sys/", "/dev/",
    };
    for (const char *prefix : prefixes) {
        if (std::strncmp(path, prefix, std::strlen(prefix)) == 0)
            return true;
    }
    // Qt's plugins (read before they are loaded), and the font cache in the
    // home folder.
    return (std::strncmp(path, "/usr/lib/", 9) == 0 && std::strstr(path, "/qt6/plugins/") != nullptr)
        || std::strstr(path, "/.cache/fontconfig/") != nullptr
        || std::strstr(path, "/.fontconfig/") != nullptr;
}

// Every open of a file goes through here while an input is drawn: a movie
// that makes the renderer try another file (an image, a document of its
// own) stops the run, opened or not.
void checkOpen(int directory, const char *path)
{
    if (!watchingFiles || path == nullptr)
        return;
    if (path[0] == '/' ? isSystemFile(path) : directory != AT_FDCWD && directory >= 0)
        return;
    fprintf(stderr, "==movie_reader_fuzzer== drawing the movie tried to open \"%s\"\n", path);
    abort();
}

template<typename Function>
Function realFunction(const char *name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

mode_t modeOf(int flags, va_list arguments)
{
    return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? va_arg(arguments, mode_t) : 0;
}

// Broken input makes Qt and the reader warn by the dozen; printing them all
// would slow the run to a crawl. Fatal messages still abort.
void quiet(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg)
        fprintf(stderr, "%s\n", qPrintable(message));
}

void setUp()
{
    static bool done = false;
    if (done)
        return;
    done = true;

    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler(quiet);
    static int argc = 1;
    static char name[] = "movie_reader_fuzzer";
    static char *argv[] = {name, nullptr};
    // Lives as long as the process, like the program's own.
    static QGuiApplication application(argc, argv);

    // Draw some text once before the first input, so that the font system's
    // one-time set-up is not counted against an input as a leak.
    QSvgRenderer renderer(QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"9\" "
                                     "height=\"9\"><text y=\"8\">Aa</text></svg>"));
    QImage image(9, 9, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    renderer.render(&painter);
}

// The control's hit map: every command element drawn alone, in its place.
void drawCommands(QSvgRenderer &renderer, const MovieDocument &document, QImage &image)
{
    for (const MovieDocument::Command &command : document.commands()) {
        if (!renderer.elementExists(command.id))
            continue;
        const QRectF bounds = renderer.boundsOnElement(command.id);
        if (bounds.isEmpty())
            continue;
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setTransform(renderer.transformForElement(command.id));
        renderer.render(&painter, command.id, bounds);
    }
}

} // namespace

// Qt and FreeType open files through these; the sanitizers do not wrap them.
extern "C" int open(const char *path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeOf(flags, arguments);
    va_end(arguments);
    checkOpen(AT_FDCWD, path);
    static const auto real = realFunction<int (*)(const char *, int, ...)>("open");
    return real(path, flags, mode);
}

extern "C" int open64(const char *path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeOf(flags, arguments);
    va_end(arguments);
    checkOpen(AT_FDCWD, path);
    static const auto real = realFunction<int (*)(const char *, int, ...)>("open64");
    return real(path, flags, mode);
}

extern "C" int openat(int directory, const char *path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeOf(flags, arguments);
    va_end(arguments);
    checkOpen(directory, path);
    static const auto real = realFunction<int (*)(int, const char *, int, ...)>("openat");
    return real(directory, path, flags, mode);
}

extern "C" int openat64(int directory, const char *path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeOf(flags, arguments);
    va_end(arguments);
    checkOpen(directory, path);
    static const auto real = realFunction<int (*)(int, const char *, int, ...)>("openat64");
    return real(directory, path, flags, mode);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    setUp();
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    watchingFiles = true;
    struct StopWatching
    {
        ~StopWatching() { watchingFiles = false; }
    } stopWatching;
    const MovieDocument document = MovieDocument::fromData(bytes, QStringLiteral("fuzz"));
    if (!document.isValid())
        return 0;

    // Read everything the control reads, so that nothing in it goes unchecked.
    qsizetype total = qsizetype(document.timerAfter()) + document.animationEnd() + document.timerCommand().size()
        + document.timerArgument().size() + document.autoplay() + document.hasLooks()
        + document.runsForever();
    for (const MovieDocument::Command &command : document.commands())
        total += command.id.size() + command.command.size() + command.argument.size();

    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    for (const char *look : {"", "normal", "hover", "pressed"}) {
        QSvgRenderer renderer;
        // As the control does, before loading: no frame timer of its own.
        renderer.setFramesPerSecond(0);
        if (!renderer.load(document.svg(QLatin1String(look))))
            continue;
        total += qsizetype(renderer.animated()) + renderer.animationDuration();
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
            renderer.render(&painter, QRectF(QPointF(0, 0), renderer.viewBoxF().size().scaled(
                                                                QSizeF(32, 32), Qt::KeepAspectRatio)));
        }
        if (*look == '\0')
            drawCommands(renderer, document, image);
    }
    // Keeps the reads above from being optimised away.
    static volatile qsizetype sink;
    sink = total;
    return 0;
}
