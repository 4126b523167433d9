// The program icon: the wheel at every size the window offers, and the
// scalable picture installed beside it drawing as the same wheel.
#include "platform/Artwork.h"

#include <QApplication>
#include <QPainter>
#include <QSvgRenderer>
#include <QTest>

#include <algorithm>

class ArtworkTest : public QObject
{
    Q_OBJECT

private slots:
    void programIconIsTheWheelAtEverySize();
    void scalableIconDrawsAsThePictures();
};

void ArtworkTest::programIconIsTheWheelAtEverySize()
{
    const QIcon icon = Artwork::programIcon();
    QList<QSize> sizes = icon.availableSizes();
    std::sort(sizes.begin(), sizes.end(), [](QSize a, QSize b) { return a.width() < b.width(); });
    QCOMPARE(sizes, (QList<QSize>{{16, 16}, {32, 32}, {48, 48}, {128, 128}, {256, 256}}));
    for (const QSize &size : sizes) {
        // Compared as drawn, premultiplied, as a pixmap holds them.
        const QImage image = icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        // Each size is a picture drawn for it, not a neighbour scaled.
        const int n = size.width();
        QCOMPARE(image, QImage(QStringLiteral(":/artwork/icon-%1.png").arg(n)).convertToFormat(QImage::Format_ARGB32_Premultiplied));
        // Clear in the corner, white in the middle, red to the right and
        // blue below on the left, as the hue runs counter-clockwise.
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        const QColor centre = image.pixelColor(n / 2, n / 2);
        QCOMPARE(centre.alpha(), 255);
        QVERIFY2(qMin(centre.red(), qMin(centre.green(), centre.blue())) > 200, qPrintable(centre.name()));
        const QColor right = image.pixelColor(n * 3 / 4 + n / 16, n / 2);
        QVERIFY2(right.red() > 200 && right.green() < 150 && right.blue() < 150, qPrintable(right.name()));
        const QColor below = image.pixelColor(n / 2 - n / 8, n * 3 / 4 + n / 16);
        QVERIFY2(below.blue() > 200 && below.red() < 150, qPrintable(below.name()));
    }
}

// The SVG icon is the same wheel as the PNG ones, drawn at their largest
// size: colours and edge alike, but for the smoothing of its wedges.
void ArtworkTest::scalableIconDrawsAsThePictures()
{
    QSvgRenderer svg(QStringLiteral(TESSELLE_SOURCE_DIR "/src/platform/artwork/icon.svg"));
    QVERIFY(svg.isValid());
    const QImage png = Artwork::programIcon().pixmap(QSize(256, 256)).toImage()
                           .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage drawn(png.size(), QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    QPainter painter(&drawn);
    svg.render(&painter);
    painter.end();
    qint64 total = 0;
    for (int y = 0; y < png.height(); ++y) {
        for (int x = 0; x < png.width(); ++x) {
            const QRgb a = drawn.pixel(x, y), b = png.pixel(x, y);
            total += qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b))
                     + qAbs(qAlpha(a) - qAlpha(b));
        }
    }
    const double mean = double(total) / (png.width() * png.height() * 4);
    QVERIFY2(mean < 2.0, qPrintable(QStringLiteral("mean difference %1 a channel").arg(mean)));
}

QTEST_MAIN(ArtworkTest)

#include "test_artwork.moc"
