#include "app/Artwork.h"

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
    return QIcon(QStringLiteral(":/artwork/icon.ico"));
}

} // namespace Artwork
