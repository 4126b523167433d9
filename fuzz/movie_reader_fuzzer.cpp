// Feeds arbitrary bytes to the movie reader as a movie file, and what it
// makes of them to the SVG renderer, the way the movie control does: the
// reader must never crash, leak or hang, whatever a movie file holds.
#include "movies/MovieDocument.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdint>
#include <cstdlib>

namespace {

QGuiApplication *application()
{
    static int argc = 1;
    static char name[] = "movie_reader_fuzzer";
    static char *argv[] = {name, nullptr};
    static QGuiApplication *app = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        // Qt's own warnings about broken input are expected by the dozen.
        qputenv("QT_LOGGING_RULES", "*=false");
        auto *app = new QGuiApplication(argc, argv);
        // Draw text once before the first input, so that the font system's
        // one-time set-up is not taken for an input's leak.
        QSvgRenderer renderer(QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"9\" "
                                         "height=\"9\"><text y=\"8\">Aa</text></svg>"));
        QImage image(9, 9, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        renderer.render(&painter);
        return app;
    }();
    return app;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    application();
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const MovieDocument document = MovieDocument::fromData(bytes, QStringLiteral("fuzz"));
    if (!document.isValid())
        return 0;
    int checksum = document.timerAfter() + int(document.commands().size());
    for (const MovieDocument::Command &command : document.commands())
        checksum += int(command.id.size() + command.command.size());
    for (const char *look : {"", "normal", "hover", "pressed"}) {
        QSvgRenderer renderer;
        renderer.setFramesPerSecond(0);
        if (!renderer.load(document.svg(QLatin1String(look))))
            continue;
        QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter, QRectF(0, 0, 32, 32));
    }
    return checksum == -12345 ? 1 : 0;
}
