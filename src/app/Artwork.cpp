#include "app/Artwork.h"

#include <QFileInfo>
#include <QGuiApplication>

namespace Artwork {

QPixmap picture(const QString &resource)
{
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
    return QIcon(QStringLiteral(":/artwork/icon.ico"));
}

} // namespace Artwork
