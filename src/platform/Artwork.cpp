// SPDX-License-Identifier: MIT
#include "platform/Artwork.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QIconEngine>
#include <QImageReader>

#include <iterator>

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

// An image of the artwork, by Qt's own reader for the format its name
// ends in. Even told the format, a reader that may guess first loads every
// image format plugin to ask whether it reads it: four libraries at start.
QImage readImage(const QString &resource)
{
    QImageReader reader(resource, QFileInfo(resource).suffix().toLatin1());
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

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
                m_images.addPixmap(QPixmap::fromImage(readImage(QStringLiteral(":/artwork/icon-%1.png").arg(size))));
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
    // The scales the artwork is drawn for besides 1, each with its frames
    // on the device pixels Qt rounds the controls to at that scale.
    struct Variant
    {
        qreal scale;
        const char *suffix;
    };
    static constexpr Variant variants[] = {{1.25, "@1.25x."}, {1.5, "@1.5x."}, {2.0, "@2x."}};
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    if (ratio > 1.0 && !qFuzzyCompare(ratio, 1.0)) {
        // The picture drawn for this very scale; at any other, the one for
        // the next scale up (or the finest), which Qt then scales to it.
        const Variant *chosen = &variants[std::size(variants) - 1];
        for (const Variant &v : variants) {
            if (ratio <= v.scale || qFuzzyCompare(ratio, v.scale)) {
                chosen = &v;
                break;
            }
        }
        const QFileInfo info(resource);
        QPixmap pixmap = QPixmap::fromImage(readImage(info.path() + QLatin1Char('/') + info.completeBaseName()
                                                      + QLatin1String(chosen->suffix) + info.suffix()));
        if (!pixmap.isNull()) {
            pixmap.setDevicePixelRatio(chosen->scale);
            return pixmap;
        }
    }
    return QPixmap::fromImage(readImage(resource));
}

QIcon programIcon()
{
    return QIcon(new ProgramIconEngine);
}

} // namespace Artwork
