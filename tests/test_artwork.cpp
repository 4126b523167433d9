// SPDX-License-Identifier: MIT
// The program icon, and the artwork's frames at the screen scales the
// window may be drawn at. At a fractional scale Qt rounds every control's
// rectangle to whole device pixels, so a frame drawn by scaling a picture
// would come out one or two device pixels wide. Read from the pixels of a
// real window: each frame line is exactly one device pixel of its grey and
// runs round the controls it frames, wherever the rounding has put them.
//
// The scale is fixed once a process has its application, so each scale is
// checked in a process of its own: this program started again with
// "-scale FACTOR".
#include "ProgramFolder.h"

#include "app/Form1.h"
#include "movie/MovieDocument.h"
#include "platform/Artwork.h"

#include <QApplication>
#include <QDir>
#include <QEnterEvent>
#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QProcess>
#include <QSet>
#include <QSvgRenderer>
#include <QTest>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace {

QColor grey(int level)
{
    return QColor(level, level, level);
}

// The code box's light warm outer line.
const QColor codeBoxLight(241, 239, 226);

// A colour the artwork never uses: the probes that show where Qt puts a
// control are painted in it.
const QColor probeColour(255, 0, 255);

enum Side { Top, Left, Right, Bottom };
const char *const sideNames[] = {"top", "left", "right", "bottom"};

} // namespace

// Runs the checks at the scale this process was started with.
class FramesAtScale : public QObject
{
    Q_OBJECT

public:
    explicit FramesAtScale(qreal scale) : m_scale(scale) {}

private slots:
    void initTestCase();
    void cleanupTestCase();

    void frameIsOneDevicePixelRoundItsControls_data();
    void frameIsOneDevicePixelRoundItsControls();
    void arrowheadsDrawnForTheScale_data();
    void arrowheadsDrawnForTheScale();

private:
    QWidget *widget(const QString &name) const;
    // Shows the panel (0 the card, 1 the collection) and no other.
    void showPanel(int panel);
    // The window as drawn, in device pixels.
    QImage shownWindow() const;
    // The device pixels Qt gives the control: a probe of a colour of its own
    // put in the control's place, read back from the window.
    QRect deviceRect(const QString &name);
    // The device pixel edges at or before, and at or after, a logical
    // coordinate of the window.
    int deviceFloor(qreal logical) const { return qFloor(logical * m_scale); }
    int deviceCeil(qreal logical) const { return qCeil(logical * m_scale); }

    qreal m_scale;
    std::unique_ptr<ProgramFolder> m_folder;
    std::unique_ptr<Form1> m_form;
};

void FramesAtScale::initTestCase()
{
    QCOMPARE(qApp->devicePixelRatio(), m_scale);
    m_folder = std::make_unique<ProgramFolder>();
    m_folder->createDatabase(ProgramFolder::card(3, 8));
    m_folder->addCollectionRows({{QStringLiteral("5327"), ProgramFolder::codeFor(2, 3)}});
    m_form = std::make_unique<Form1>(m_folder->path());
    widget(QStringLiteral("intro_swf"))->hide();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void FramesAtScale::cleanupTestCase()
{
    m_form.reset();
    m_folder.reset();
}

QWidget *FramesAtScale::widget(const QString &name) const
{
    auto *w = qobject_cast<QWidget *>(m_form->control(name));
    if (!w)
        qFatal("no control %s", qPrintable(name));
    return w;
}

void FramesAtScale::showPanel(int panel)
{
    widget(QStringLiteral("tart_pb(%1)").arg(panel))->show();
    widget(QStringLiteral("tart_pb(%1)").arg(1 - panel))->hide();
}

QImage FramesAtScale::shownWindow() const
{
    return m_form->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QRect FramesAtScale::deviceRect(const QString &name)
{
    QWidget *control = widget(name);
    QWidget probe(control->parentWidget());
    probe.setGeometry(control->geometry());
    QPalette palette;
    palette.setColor(QPalette::Window, probeColour);
    probe.setPalette(palette);
    probe.setAutoFillBackground(true);
    probe.show();
    probe.raise();
    const QImage shown = shownWindow();
    QRect rect;
    qsizetype count = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            if (shown.pixelColor(x, y) == probeColour) {
                rect |= QRect(x, y, 1, 1);
                ++count;
            }
        }
    }
    // A whole rectangle, or nothing that can be relied on.
    return count == qsizetype(rect.width()) * rect.height() ? rect : QRect();
}

void FramesAtScale::frameIsOneDevicePixelRoundItsControls_data()
{
    QTest::addColumn<int>("panel");             // the panel shown
    QTest::addColumn<QString>("container");     // whose pixels box is in
    QTest::addColumn<QRect>("box");             // logical, frame included
    QTest::addColumn<QList<QColor>>("colours"); // top, left, right, bottom
    QTest::addColumn<QStringList>("controls");  // what the frame runs round

    auto all = [](const QColor &c) { return QList<QColor>{c, c, c, c}; };
    auto span = [](int x0, int y0, int x1, int y1) { return QRect(QPoint(x0, y0), QPoint(x1, y1)); };
    const QString window = QStringLiteral("Form1");
    const QString card = QStringLiteral("tart_pb(0)");
    const QString collection = QStringLiteral("tart_pb(1)");

    // clang-format off
    QTest::newRow("outer frame")    << 0 << window << span(11, 11, 198, 678) << all(grey(128)) << QStringList{"palettac", card};
    QTest::newRow("light line")     << 0 << window << span(27, 27, 182, 662) << all(grey(245)) << QStringList{"palettac", card};
    QTest::newRow("inner frame")    << 0 << window << span(28, 28, 181, 661) << all(grey(172))
                                    << QStringList{"palettac", card};
    // The palette area: the inner frame on three sides, the rule below.
    QTest::newRow("palette area")   << 0 << window << span(28, 28, 181, 186)
                                    << QList<QColor>{grey(172), grey(172), grey(172), grey(186)}
                                    << QStringList{"palettac"};
    QTest::newRow("page number")    << 0 << card << span(66, 370, 93, 384) << all(grey(172)) << QStringList{"pagen_text"};
    QTest::newRow("previous page")  << 0 << card << span(101, 370, 115, 384) << all(grey(172)) << QStringList{"previous_swf"};
    QTest::newRow("next page")      << 0 << card << span(122, 370, 136, 384) << all(grey(172)) << QStringList{"next_swf"};
    QTest::newRow("code")           << 0 << card << span(66, 393, 136, 411) << all(codeBoxLight)
                                    << QStringList{"findcode_txt1", "codedot_lb(0)", "findcode_txt2", "codedot_lb(1)",
                                                   "findcode_txt3"};
    QTest::newRow("add")            << 0 << card << span(28, 436, 112, 453) << all(grey(198)) << QStringList{"addtobaby_swf"};
    QTest::newRow("delete")         << 1 << collection << span(44, 392, 93, 409) << all(grey(198)) << QStringList{"deleteb_swf"};
    QTest::newRow("position")       << 1 << collection << span(22, 436, 71, 453) << all(grey(198))
                                    << QStringList{"baby_num", "baby_nummax"};
    QTest::newRow("previous entry") << 1 << collection << span(82, 438, 96, 452) << all(grey(172)) << QStringList{"previousb_swf"};
    QTest::newRow("next entry")     << 1 << collection << span(103, 438, 117, 452) << all(grey(172)) << QStringList{"nextb_swf"};
    // clang-format on
}

void FramesAtScale::frameIsOneDevicePixelRoundItsControls()
{
    QFETCH(int, panel);
    QFETCH(QString, container);
    QFETCH(QRect, box);
    QFETCH(QList<QColor>, colours);
    QFETCH(QStringList, controls);

    showPanel(panel);
    std::vector<QRect> inside;
    for (const QString &name : controls) {
        inside.push_back(deviceRect(name));
        QVERIFY2(!inside.back().isEmpty(), qPrintable(name + QStringLiteral(" is not drawn as one rectangle")));
    }
    const QImage shown = shownWindow();
    const QRect logical = box.translated(widget(container)->mapTo(m_form.get(), QPoint(0, 0)));
    auto inControl = [&inside](int x, int y) {
        return std::any_of(inside.cbegin(), inside.cend(), [x, y](const QRect &r) { return r.contains(x, y); });
    };

    // Each side's line is looked for in a band of three logical pixels
    // round where the frame is at scale 1, away from the corners: there
    // the pixels of its colour, outside the controls, must make exactly
    // one whole device row (or column).
    int line[4];
    for (Side side : {Top, Left, Right, Bottom}) {
        const bool across = side == Top || side == Bottom;
        const int at = side == Top ? logical.top() : side == Left ? logical.left()
                     : side == Right ? logical.right() : logical.bottom();
        const int from = deviceFloor(at - 1), to = deviceCeil(at + 2);  // across the line
        const int alongFrom = deviceCeil((across ? logical.left() : logical.top()) + 2);
        const int alongTo = deviceFloor((across ? logical.right() : logical.bottom()) - 1);
        const QColor colour = colours.at(side);
        QList<int> found;  // rows or columns holding the colour
        for (int a = from; a < to; ++a) {
            int count = 0;
            for (int b = alongFrom; b < alongTo; ++b) {
                const int x = across ? b : a, y = across ? a : b;
                if (!inControl(x, y) && shown.pixelColor(x, y) == colour)
                    ++count;
            }
            if (count > 0) {
                found.append(a);
                QVERIFY2(count == alongTo - alongFrom,
                         qPrintable(QStringLiteral("%1 side: line %2 has %3 of %4 pixels of the frame colour")
                                        .arg(QLatin1String(sideNames[side])).arg(a).arg(count).arg(alongTo - alongFrom)));
            }
        }
        QVERIFY2(found.size() == 1, qPrintable(QStringLiteral("%1 side: %2 device lines of the frame colour")
                                                   .arg(QLatin1String(sideNames[side])).arg(found.size())));
        line[side] = found.first();
    }

    // The lines meet: each runs whole from corner to corner, where two
    // lines of one colour share the corner pixel.
    for (Side side : {Top, Bottom}) {
        const bool ownsLeft = colours.at(side) == colours.at(Left);
        const bool ownsRight = colours.at(side) == colours.at(Right);
        for (int x = line[Left] + (ownsLeft ? 0 : 1); x <= line[Right] - (ownsRight ? 0 : 1); ++x)
            QCOMPARE(shown.pixelColor(x, line[side]), colours.at(side));
    }
    for (Side side : {Left, Right}) {
        for (int y = line[Top] + 1; y < line[Bottom]; ++y)
            QCOMPARE(shown.pixelColor(line[side], y), colours.at(side));
    }

    // The frame runs round every control, none of which covers it.
    const QRect within(QPoint(line[Left] + 1, line[Top] + 1), QPoint(line[Right] - 1, line[Bottom] - 1));
    for (int i = 0; i < controls.size(); ++i) {
        QVERIFY2(within.contains(inside[i]),
                 qPrintable(QStringLiteral("%1 at device (%2,%3 %4x%5) is not inside the frame's (%6,%7 %8x%9)")
                                .arg(controls.at(i)).arg(inside[i].x()).arg(inside[i].y()).arg(inside[i].width())
                                .arg(inside[i].height()).arg(within.x()).arg(within.y()).arg(within.width())
                                .arg(within.height())));
    }
}

void FramesAtScale::arrowheadsDrawnForTheScale_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("movie");
    QTest::addColumn<QString>("look");
    for (const auto &[control, movie] : {std::pair{"next_swf", "n"}, std::pair{"previous_swf", "p"}}) {
        for (const char *look : {"normal", "hover", "pressed"})
            QTest::addRow("%s, %s", control, look) << control << movie << look;
    }
}

// The page buttons' arrowheads. At scale 1 every device pixel is what it
// was when the arrowheads were drawn pixel by pixel (the grabs in
// tests/artwork were taken then); at scale 2 they are drawn for that
// scale, as the movie's shapes render there with smoothing: their edges
// hold shades between the arrow and its face, not 2 x 2 blocks.
void FramesAtScale::arrowheadsDrawnForTheScale()
{
    QFETCH(QString, control);
    QFETCH(QString, movie);
    QFETCH(QString, look);
    if (m_scale != 1 && m_scale != 2)
        QSKIP("checked at scales 1 and 2");
    showPanel(0);
    auto *button = widget(control);
    // The look, as the pointer gives it: over the button, or pressed on it.
    const QPointF centre = QRectF(button->rect()).center();
    if (look != QLatin1String("normal")) {
        QEnterEvent enter(centre, button->mapToGlobal(centre), button->mapToGlobal(centre));
        QApplication::sendEvent(button, &enter);
    }
    if (look == QLatin1String("pressed")) {
        QMouseEvent press(QEvent::MouseButtonPress, centre, button->mapToGlobal(centre), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(button, &press);
    }
    QImage shown = button->grab().toImage().convertToFormat(QImage::Format_RGB32);
    shown.setDevicePixelRatio(1);
    // Back to its normal look, released away from the button: no command.
    const QPointF away(-20, -20);
    QMouseEvent release(QEvent::MouseButtonRelease, away, button->mapToGlobal(away), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(button, &release);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(button, &leave);

    const QString grabbed = QStringLiteral(TESSELLE_SOURCE_DIR "/tests/artwork/%1-%2.png").arg(movie, look);
    const QImage atOne = QImage(grabbed).convertToFormat(QImage::Format_RGB32);
    QVERIFY2(!atOne.isNull(), qPrintable(grabbed));
    if (m_scale == 1) {
        QCOMPARE(shown, atOne);
        return;
    }
    QCOMPARE(shown.size(), atOne.size() * 2);
    // The movie's shapes for this look, rendered at scale 2 with smoothing
    // over the window's colour, as the control draws them.
    QFile file(QDir(m_folder->path()).filePath(QStringLiteral("swf/%1.svg").arg(movie)));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QSvgRenderer svg(MovieDocument::fromData(file.readAll()).svg(look, false));
    QVERIFY(svg.isValid());
    QImage rendered(shown.size(), QImage::Format_RGB32);
    rendered.setDevicePixelRatio(2);
    rendered.fill(button->palette().color(QPalette::Window));
    QPainter painter(&rendered);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    svg.render(&painter, QRectF(QPointF(0, 0), QSizeF(button->size())));
    painter.end();
    rendered.setDevicePixelRatio(1);
    QCOMPARE(shown, rendered);
    // Shades the picture at scale 1 does not hold: smoothed edges.
    QSet<QRgb> ownColours;
    for (int y = 0; y < atOne.height(); ++y)
        for (int x = 0; x < atOne.width(); ++x)
            ownColours.insert(atOne.pixel(x, y));
    int shades = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            shades += ownColours.contains(shown.pixel(x, y)) ? 0 : 1;
    QVERIFY2(shades >= 8, qPrintable(QStringLiteral("%1 device pixels of a shade between").arg(shades)));
}

// The program icon, and the frames at each scale in processes of their own.
class ArtworkTest : public QObject
{
    Q_OBJECT

private slots:
    void programIconIsTheWheelAtEverySize();
    void scalableIconDrawsAsThePictures();
    void framesAtScale_data();
    void framesAtScale();
};

void ArtworkTest::programIconIsTheWheelAtEverySize()
{
    const QIcon icon = Artwork::programIcon();
    QList<QSize> sizes = icon.availableSizes();
    std::sort(sizes.begin(), sizes.end(), [](QSize a, QSize b) { return a.width() < b.width(); });
    QCOMPARE(sizes, (QList<QSize>{{16, 16}, {32, 32}, {48, 48}, {128, 128}, {256, 256}}));
    for (const QSize &size : sizes) {
        // Compared as drawn, premultiplied, as a pixmap holds them.
        const QImage image = icon.pixmap(size, 1.0).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
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
    const QImage png = Artwork::programIcon().pixmap(QSize(256, 256), 1.0).toImage()
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

void ArtworkTest::framesAtScale_data()
{
    QTest::addColumn<QString>("scale");
    for (const char *scale : {"1", "1.25", "1.5", "2"})
        QTest::newRow(scale) << QString::fromLatin1(scale);
}

void ArtworkTest::framesAtScale()
{
    QFETCH(QString, scale);
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QCoreApplication::applicationFilePath(), {QStringLiteral("-scale"), scale});
    QVERIFY(process.waitForFinished(-1));
    const bool passed = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!passed)
        qWarning().noquote() << process.readAll();
    QVERIFY2(passed, "the run at this scale failed: its output is above");
}

int main(int argc, char *argv[])
{
    if (argc >= 3 && qstrcmp(argv[1], "-scale") == 0) {
        const QByteArray scale = argv[2];
        qputenv("QT_SCALE_FACTOR", scale);
        // The rest of the arguments are Qt Test's.
        std::vector<char *> args{argv[0]};
        args.insert(args.end(), argv + 3, argv + argc);
        int count = int(args.size());
        QApplication app(count, args.data());
        app.setAttribute(Qt::AA_Use96Dpi, true);
        FramesAtScale test(scale.toDouble());
        return QTest::qExec(&test, count, args.data());
    }
    QApplication app(argc, argv);
    ArtworkTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_artwork.moc"
