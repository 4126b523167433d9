// SPDX-License-Identifier: MIT
// The picture box on its own: whatever part of it is to be painted, and
// however that part is cut up, it comes out with the same pixels as when
// the whole box is painted.
#include "widgets/PictureBox.h"

#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QTest>

class PictureBoxTest : public QObject
{
    Q_OBJECT

private slots:
    void samePixelsHoweverTheExposedPartIsCut_data();
    void samePixelsHoweverTheExposedPartIsCut();
};

namespace {

// Never drawn by a box: marks what the box left alone.
const QColor untouched(255, 0, 255);

QImage painted(PictureBox &box, const QRegion &part)
{
    QImage image(box.size(), QImage::Format_RGB32);
    image.fill(untouched);
    // Rendering puts the part's top-left corner at the offset given.
    box.render(&image, part.boundingRect().topLeft(), part, QWidget::RenderFlags());
    return image;
}

// A region of many rectangles, as a panel's exposed part is with the
// swatches standing on it: a column of bands with a hole in each, taller
// than the few dozen lines Qt paints at once.
QRegion cutUp(const QSize &size)
{
    QRegion region;
    for (int top = 3; top + 30 <= size.height(); top += 43) {
        region += QRect(0, top, size.width(), 30);
        region -= QRect(7, top + 5, size.width() / 2, 20);
    }
    return region;
}

} // namespace

void PictureBoxTest::samePixelsHoweverTheExposedPartIsCut_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QColor>("backColor");
    QTest::addColumn<bool>("unknown");

    QTest::newRow("opaque picture") << QStringLiteral(":/artwork/card.bmp") << QColor(Qt::white) << false;
    QTest::newRow("picture with alpha over a colour")
        << QStringLiteral(":/artwork/window.bmp") << QColor(10, 120, 200) << false;
    QTest::newRow("colour alone") << QString() << QColor(98, 103, 97) << false;
    QTest::newRow("no colour known (hatched)") << QString() << QColor(98, 103, 97) << true;
}

void PictureBoxTest::samePixelsHoweverTheExposedPartIsCut()
{
    QFETCH(QString, picture);
    QFETCH(QColor, backColor);
    QFETCH(bool, unknown);

    PictureBox box;
    box.resize(140, 460);
    box.setBackColor(backColor);
    if (!picture.isEmpty()) {
        box.setPicture(picture);
        QVERIFY(!box.picture().isNull());
    }
    box.setUnknown(unknown);

    const QImage whole = painted(box, QRegion(box.rect()));
    const QRegion part = cutUp(box.size());
    QVERIFY(part.rectCount() > 10);
    const QImage cut = painted(box, part);

    int differing = 0;
    for (int y = 0; y < whole.height(); ++y) {
        for (int x = 0; x < whole.width(); ++x) {
            if (part.contains(QPoint(x, y)))
                differing += cut.pixel(x, y) != whole.pixel(x, y);
        }
    }
    QCOMPARE(differing, 0);
}

QTEST_MAIN(PictureBoxTest)
#include "test_picturebox.moc"
