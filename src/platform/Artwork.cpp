#include "platform/Artwork.h"

#include "platform/IconFile.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

// The artwork lives in the program's static library, whose resources must
// be registered before first use.
static void registerResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(artwork);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace Artwork {

QPixmap picture(const QString &resource)
{
    registerResources();
    if (qApp && qApp->devicePixelRatio() >= 1.5) {
        const QFileInfo info(resource);
        const QString fine = info.path() + QLatin1Char('/') + info.completeBaseName()
                             + QStringLiteral("@2x.") + info.suffix();
        QPixmap pixmap(fine);
        if (!pixmap.isNull()) {
            pixmap.setDevicePixelRatio(2.0);
            return pixmap;
        }
    }
    return QPixmap(resource);
}

QIcon programIcon()
{
    registerResources();
    const QString resource = QStringLiteral(":/artwork/icon.ico");
    // The icon's own bitmaps are read directly, which spares the start-up
    // the search for image plugins; anything else goes to Qt's reader.
    QFile file(resource);
    const QList<QImage> images = file.open(QIODevice::ReadOnly) ? IconFile::read(file.readAll())
                                                               : QList<QImage>();
    if (images.isEmpty())
        return QIcon(resource);
    QIcon icon;
    for (const QImage &image : images)
        icon.addPixmap(QPixmap::fromImage(image));
    return icon;
}

} // namespace Artwork
