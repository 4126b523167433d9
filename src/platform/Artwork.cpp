#include "platform/Artwork.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QIconEngine>

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

namespace {

constexpr int iconSizes[] = {16, 32, 48, 128, 256};

// The program icon: one PNG image for each size, read by Qt's own PNG
// reader when a pixmap of the icon is first asked for. Reading any image
// first has Qt search its image format plugins, and a window on a platform
// that shows no icons never asks, so a start-up there does neither.
class ProgramIconEngine : public QIconEngine
{
public:
    QIconEngine *clone() const override { return new ProgramIconEngine(*this); }
    QString key() const override { return QStringLiteral("ProgramIconEngine"); }

    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        QList<QSize> sizes;
        if (mode == QIcon::Normal && state == QIcon::Off) {
            for (int size : iconSizes)
                sizes.append(QSize(size, size));
        }
        return sizes;
    }

    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return images().actualSize(size, mode, state);
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return images().pixmap(size, 1.0, mode, state);
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        images().paint(painter, rect, Qt::AlignCenter, mode, state);
    }

private:
    // The images as an icon of Qt's own, which picks, scales and greys
    // them. They are added as pixmaps: a file added to an empty icon would
    // first have the icon engine plugins searched for one to read it.
    const QIcon &images()
    {
        if (m_images.isNull()) {
            registerResources();
            for (int size : iconSizes)
                m_images.addPixmap(QPixmap(QStringLiteral(":/artwork/icon-%1.png").arg(size), "PNG"));
        }
        return m_images;
    }

    QIcon m_images;
};

} // namespace

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
    return QIcon(new ProgramIconEngine);
}

} // namespace Artwork
