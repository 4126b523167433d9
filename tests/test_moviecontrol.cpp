// SPDX-License-Identifier: MIT
#include "widgets/MovieControl.h"
#include "movie/MovieDocument.h"

#include <QCursor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QColor Background(255, 255, 0);

// A movie of the given size whose drawing is body; rootAttributes go on the
// <svg> element, next to the usual namespace declarations.
QByteArray movie(int width, int height, const QString &body, const QString &rootAttributes = {})
{
    return QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" "
                          "xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
                          "xmlns:mv=\"urn:x-tesselle:movie\" width=\"%1\" height=\"%2\" "
                          "viewBox=\"0 0 %1 %2\" %3>%4</svg>")
        .arg(width)
        .arg(height)
        .arg(rootAttributes, body)
        .toUtf8();
}

// Two blue squares sliding right over red: the top one in 0.6 s, the bottom
// one in 1.2 s; both hold their end. At the start the right half is red; the
// last column of the left half turns fully red only when its square ends.
QByteArray slidingMovie(const QString &rootAttributes = {})
{
    return movie(20, 20,
        "<rect width=\"20\" height=\"20\" fill=\"#ff0000\"/>"
        "<rect width=\"10\" height=\"10\" fill=\"#0000ff\">"
        "<animateTransform attributeName=\"transform\" type=\"translate\" from=\"0 0\" "
        "to=\"10 0\" begin=\"0s\" dur=\"0.6s\" fill=\"freeze\"/></rect>"
        "<rect y=\"10\" width=\"10\" height=\"10\" fill=\"#0000ff\">"
        "<animateTransform attributeName=\"transform\" type=\"translate\" from=\"0 0\" "
        "to=\"10 0\" begin=\"0s\" dur=\"1.2s\" fill=\"freeze\"/></rect>",
        rootAttributes);
}

const QPoint TopRight(15, 5);
const QPoint BottomRight(15, 15);
const QPoint TopLeftEdge(9, 5);
const QPoint BottomLeftEdge(9, 15);

QColor pixelAt(QWidget &widget, const QPoint &point)
{
    return widget.grab().toImage().pixelColor(point);
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget *widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

class TestMovieControl : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void clickRaisesCommand_data();
    void clickRaisesCommand();
    void showAllKeepsProportions_data();
    void showAllKeepsProportions();
    void timedCommandFiresWithoutPlaying();
    void timedCommandFiresInAnyEncoding_data();
    void timedCommandFiresInAnyEncoding();
    void stillMovieIsTheFileAsSet();
    void brokenMovieLeavesControlEmpty_data();
    void brokenMovieLeavesControlEmpty();
    void undeclaredPrefixShowsMovieWithoutCommands();
    void sanitiserDropsOutsideReferences_data();
    void sanitiserDropsOutsideReferences();
    void externalImageIsNotDrawn();
    void looksFollowPointer();
    void pixelVariantsFollowTheScale_data();
    void pixelVariantsFollowTheScale();
    void setMovieReplacesPreviousMovie();
    void stillMovieDoesNotRepaint();
    void playingMovieAnimates_data();
    void playingMovieAnimates();
    void endWithoutLoopIsHeld();
    void loopRestartsAnimation();

private:
    QString write(const QString &name, const QByteArray &content);
    void showControl(MovieControl &control, const QSize &size);

    QTemporaryDir m_dir;
};

QString TestMovieControl::write(const QString &name, const QByteArray &content)
{
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        qFatal("cannot write fixture %s", qPrintable(path));
    return path;
}

void TestMovieControl::showControl(MovieControl &control, const QSize &size)
{
    QPalette palette = control.palette();
    palette.setColor(QPalette::Window, Background);
    control.setPalette(palette);
    control.resize(size);
    // Keep the pointer away, so that the control starts in its normal look.
    QCursor::setPos(-1000, -1000);
    control.show();
    QVERIFY(QTest::qWaitForWindowExposed(&control));
    QCOMPARE(control.size(), size);
}

void TestMovieControl::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void TestMovieControl::clickRaisesCommand_data()
{
    QTest::addColumn<QByteArray>("svg");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("release");
    QTest::addColumn<bool>("raised");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("argument");

    const QSize square(100, 100);
    const QByteArray circle = movie(100, 100,
        "<circle id=\"c\" cx=\"50\" cy=\"50\" r=\"20\" fill=\"red\" mv:command=\"go\"/>");
    QTest::newRow("circle centre") << circle << square << Qt::LeftButton << QPoint(50, 50)
                                   << QPoint(50, 50) << true << "go" << "";
    QTest::newRow("circle box corner") << circle << square << Qt::LeftButton << QPoint(33, 33)
                                       << QPoint(33, 33) << false << "" << "";
    QTest::newRow("outside every element") << circle << square << Qt::LeftButton << QPoint(90, 90)
                                           << QPoint(90, 90) << false << "" << "";
    QTest::newRow("right button") << circle << square << Qt::RightButton << QPoint(50, 50)
                                  << QPoint(50, 50) << false << "" << "";

    const QByteArray moved = movie(100, 100,
        "<g transform=\"translate(60,10)\">"
        "<rect id=\"m\" width=\"20\" height=\"20\" fill=\"blue\" mv:command=\"moved\"/></g>"
        "<g transform=\"translate(50,0)\">"
        "<rect id=\"n\" transform=\"translate(0,50)\" width=\"20\" height=\"20\" fill=\"blue\" "
        "mv:command=\"nested\"/></g>");
    QTest::newRow("translated group, where painted")
        << moved << square << Qt::LeftButton << QPoint(70, 20) << QPoint(70, 20) << true
        << "moved" << "";
    QTest::newRow("translated group, untranslated place")
        << moved << square << Qt::LeftButton << QPoint(10, 10) << QPoint(10, 10) << false << ""
        << "";
    QTest::newRow("own and parent transforms")
        << moved << square << Qt::LeftButton << QPoint(60, 60) << QPoint(60, 60) << true
        << "nested" << "";

    const QByteArray commands = movie(100, 100,
        "<rect id=\"e\" width=\"50\" height=\"50\" fill=\"green\" mv:command=\"\"/>"
        "<rect id=\"p\" x=\"50\" width=\"50\" height=\"50\" fill=\"green\" mv:command=\"page\" "
        "mv:argument=\"12\"/>");
    QTest::newRow("empty command") << commands << square << Qt::LeftButton << QPoint(25, 25)
                                   << QPoint(25, 25) << true << "" << "";
    QTest::newRow("argument") << commands << square << Qt::LeftButton << QPoint(75, 25)
                              << QPoint(75, 25) << true << "page" << "12";
    QTest::newRow("release on another element")
        << commands << square << Qt::LeftButton << QPoint(25, 25) << QPoint(75, 25) << false << ""
        << "";
    QTest::newRow("release off every element")
        << commands << square << Qt::LeftButton << QPoint(75, 25) << QPoint(75, 75) << false << ""
        << "";
    QTest::newRow("press off every element, release on one")
        << commands << square << Qt::LeftButton << QPoint(75, 75) << QPoint(75, 25) << false << ""
        << "";

    const QByteArray overlapping = movie(100, 100,
        "<rect id=\"below\" width=\"60\" height=\"60\" fill=\"gray\" mv:command=\"below\"/>"
        "<rect id=\"above\" x=\"40\" y=\"40\" width=\"60\" height=\"60\" fill=\"gray\" "
        "mv:command=\"above\"/>");
    QTest::newRow("later element on top") << overlapping << square << Qt::LeftButton
                                          << QPoint(50, 50) << QPoint(50, 50) << true << "above"
                                          << "";
    QTest::newRow("earlier element where uncovered")
        << overlapping << square << Qt::LeftButton << QPoint(20, 20) << QPoint(20, 20) << true
        << "below" << "";

    const QByteArray faint = movie(100, 100,
        "<rect id=\"faint\" width=\"50\" height=\"100\" fill=\"black\" fill-opacity=\"0.3\" "
        "mv:command=\"faint\"/>"
        "<rect id=\"solid\" x=\"50\" width=\"50\" height=\"100\" fill=\"black\" fill-opacity=\"0.8\" "
        "mv:command=\"solid\"/>");
    QTest::newRow("mostly transparent paint") << faint << square << Qt::LeftButton
                                              << QPoint(25, 50) << QPoint(25, 50) << false << ""
                                              << "";
    QTest::newRow("mostly opaque paint") << faint << square << Qt::LeftButton << QPoint(75, 50)
                                         << QPoint(75, 50) << true << "solid" << "";

    // A 20 x 10 movie in a 40 x 40 control is drawn at 0,10 40 x 20.
    const QSize letterboxed(40, 40);
    const QByteArray halves = movie(20, 10,
        "<rect id=\"l\" width=\"10\" height=\"10\" fill=\"red\" mv:command=\"left\"/>"
        "<rect id=\"r\" x=\"10\" width=\"10\" height=\"10\" fill=\"blue\" mv:command=\"right\"/>");
    QTest::newRow("scaled, left half") << halves << letterboxed << Qt::LeftButton << QPoint(10, 20)
                                       << QPoint(10, 20) << true << "left" << "";
    QTest::newRow("scaled, right half") << halves << letterboxed << Qt::LeftButton
                                        << QPoint(30, 28) << QPoint(30, 28) << true << "right"
                                        << "";
    QTest::newRow("letterbox above") << halves << letterboxed << Qt::LeftButton << QPoint(10, 5)
                                     << QPoint(10, 5) << false << "" << "";
    QTest::newRow("letterbox below") << halves << letterboxed << Qt::LeftButton << QPoint(30, 32)
                                     << QPoint(30, 32) << false << "" << "";
}

void TestMovieControl::clickRaisesCommand()
{
    QFETCH(QByteArray, svg);
    QFETCH(QSize, size);
    QFETCH(Qt::MouseButton, button);
    QFETCH(QPoint, press);
    QFETCH(QPoint, release);
    QFETCH(bool, raised);
    QFETCH(QString, command);
    QFETCH(QString, argument);

    MovieControl control;
    control.setMovie(write(QStringLiteral("click.svg"), svg));
    QVERIFY(control.isLoaded());
    showControl(control, size);
    QSignalSpy spy(&control, &MovieControl::FSCommand);

    QTest::mousePress(&control, button, {}, press);
    if (release != press)
        QTest::mouseMove(&control, release);
    QTest::mouseRelease(&control, button, {}, release);

    QCOMPARE(spy.count(), raised ? 1 : 0);
    if (raised) {
        QCOMPARE(spy.at(0).at(0).toString(), command);
        QCOMPARE(spy.at(0).at(1).toString(), argument);
    }
}

void TestMovieControl::showAllKeepsProportions_data()
{
    QTest::addColumn<QByteArray>("svg");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("area");

    QTest::newRow("wide movie in a square")
        << movie(20, 10, "<rect width=\"20\" height=\"10\" fill=\"#0000ff\"/>") << QSize(40, 40)
        << QRect(0, 10, 40, 20);
    QTest::newRow("tall movie in a square")
        << movie(10, 20, "<rect width=\"10\" height=\"20\" fill=\"#0000ff\"/>") << QSize(40, 40)
        << QRect(10, 0, 20, 40);
    QTest::newRow("same proportions")
        << movie(20, 10, "<rect width=\"20\" height=\"10\" fill=\"#0000ff\"/>") << QSize(60, 30)
        << QRect(0, 0, 60, 30);
    QTest::newRow("view box away from the origin")
        << QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"20\" height=\"10\" "
                      "viewBox=\"100 50 20 10\">"
                      "<rect x=\"100\" y=\"50\" width=\"20\" height=\"10\" fill=\"#0000ff\"/></svg>")
        << QSize(40, 40) << QRect(0, 10, 40, 20);
}

void TestMovieControl::showAllKeepsProportions()
{
    QFETCH(QByteArray, svg);
    QFETCH(QSize, size);
    QFETCH(QRect, area);

    MovieControl control;
    control.setMovie(write(QStringLiteral("scaled.svg"), svg));
    showControl(control, size);

    const QImage shot = control.grab().toImage();
    QCOMPARE(shot.size(), size);
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            const QColor expected = area.contains(x, y) ? QColor(0, 0, 255) : Background;
            if (shot.pixelColor(x, y) != expected) {
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2 is %3, expected %4")
                                     .arg(x)
                                     .arg(y)
                                     .arg(shot.pixelColor(x, y).name(), expected.name())));
            }
        }
    }
}

void TestMovieControl::timedCommandFiresWithoutPlaying()
{
    const QByteArray svg = movie(20, 20,
        "<rect width=\"20\" height=\"20\" fill=\"red\">"
        "<animateColor attributeName=\"fill\" from=\"red\" to=\"blue\" dur=\"1s\"/></rect>",
        "mv:timer-after=\"100\" mv:timer-command=\"1\" mv:timer-argument=\"intro\"");

    // Neither playing nor even shown: the timer is the movie's script.
    MovieControl control;
    control.setPlay(false);
    QSignalSpy spy(&control, &MovieControl::FSCommand);
    control.setMovie(write(QStringLiteral("timed.svg"), svg));
    QCOMPARE(spy.count(), 0);

    QVERIFY(spy.wait(5000));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("1"));
    QCOMPARE(spy.at(0).at(1).toString(), QStringLiteral("intro"));
    // It fires once only.
    QVERIFY(!spy.wait(300));
}

void TestMovieControl::timedCommandFiresInAnyEncoding_data()
{
    QTest::addColumn<QByteArray>("content");

    // A still movie whose only act is its timed command.
    const QString text = QString::fromUtf8(movie(20, 20, "<rect width=\"20\" height=\"20\" fill=\"red\"/>",
                                                 "mv:timer-after=\"50\" mv:timer-command=\"timed\""));
    QTest::newRow("UTF-8") << text.toUtf8();
    const QString declared = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?>") + text;
    QByteArray utf16("\xff\xfe", 2);
    utf16.append(reinterpret_cast<const char *>(declared.utf16()), declared.size() * 2);
    QTest::newRow("UTF-16") << utf16;
}

void TestMovieControl::timedCommandFiresInAnyEncoding()
{
    QFETCH(QByteArray, content);

    // Never shown: nothing but the movie's own timer can make it act.
    MovieControl control;
    QSignalSpy spy(&control, &MovieControl::FSCommand);
    control.setMovie(write(QStringLiteral("timed-encoded.svg"), content));
    QVERIFY(spy.wait(5000));
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("timed"));
}

void TestMovieControl::stillMovieIsTheFileAsSet()
{
    // A still movie is drawn from its first paint on, but from the file as it
    // was when it was set.
    const QString path = write(QStringLiteral("as-set.svg"),
                               movie(20, 20, "<rect id=\"all\" width=\"20\" height=\"20\" "
                                             "fill=\"#00ff00\" mv:command=\"all\"/>"));
    MovieControl control;
    QSignalSpy spy(&control, &MovieControl::FSCommand);
    control.setMovie(path);
    write(QStringLiteral("as-set.svg"), movie(20, 20, "<rect width=\"20\" height=\"20\" fill=\"red\"/>"));
    showControl(control, QSize(20, 20));

    QCOMPARE(pixelAt(control, QPoint(10, 10)), QColor(0, 255, 0));
    QTest::mouseClick(&control, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(spy.count(), 1);
    QVERIFY(control.isLoaded());
}

void TestMovieControl::brokenMovieLeavesControlEmpty_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("warning");

    const QByteArray clickable = movie(40, 40,
        "<rect id=\"all\" width=\"40\" height=\"40\" fill=\"red\" mv:command=\"all\"/>",
        "mv:timer-after=\"0\" mv:timer-command=\"timed\"");

    QTest::newRow("missing file") << "missing.svg" << QByteArray() << "cannot be opened";
    QTest::newRow("empty file") << "empty.svg" << QByteArray("") << "not a readable SVG";
    QTest::newRow("malformed XML") << "malformed.svg" << clickable.left(clickable.size() - 8)
                                   << "not a readable SVG";
    QTest::newRow("XML that is not SVG")
        << "page.svg"
        << QByteArray("<html xmlns:mv=\"urn:x-tesselle:movie\" mv:timer-after=\"0\" "
                      "mv:timer-command=\"timed\"><body id=\"all\" mv:command=\"all\"/></html>")
        << "not a readable SVG";
    QTest::newRow("directory") << "folder.svg" << QByteArray() << "cannot be";
    // Well-formed and clickable, but padded past the size limit.
    QByteArray large = clickable;
    large.insert(large.indexOf("<rect"),
                 "<!--" + QByteArray(MovieDocument::MaxFileSize, ' ') + "-->");
    QTest::newRow("larger than the limit") << "large.svg" << large << "larger than";
}

void TestMovieControl::brokenMovieLeavesControlEmpty()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, warning);

    QString path = m_dir.filePath(name);
    if (name == QLatin1String("folder.svg"))
        QVERIFY(QDir(m_dir.path()).mkpath(name));
    else if (name != QLatin1String("missing.svg"))
        path = write(name, content);

    MovieControl control;
    QSignalSpy spy(&control, &MovieControl::FSCommand);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QRegularExpression::escape(warning)));
    control.setMovie(path);
    QVERIFY(!control.isLoaded());
    QCOMPARE(control.movie(), path);
    showControl(control, QSize(40, 40));

    const QImage shot = control.grab().toImage();
    for (const QPoint &point : {QPoint(0, 0), QPoint(20, 20), QPoint(39, 39)})
        QCOMPARE(shot.pixelColor(point), Background);
    QTest::mouseClick(&control, Qt::LeftButton, {}, QPoint(20, 20));
    QVERIFY(!spy.wait(100));
    QCOMPARE(spy.count(), 0);
}

void TestMovieControl::undeclaredPrefixShowsMovieWithoutCommands()
{
    // mv: is used without being declared.
    const QByteArray svg(
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"20\" height=\"20\" mv:timer-after=\"0\" "
        "mv:timer-command=\"timed\">"
        "<rect id=\"all\" width=\"20\" height=\"20\" fill=\"#00ff00\" mv:command=\"all\"/></svg>");
    MovieControl control;
    QSignalSpy spy(&control, &MovieControl::FSCommand);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("without its commands"));
    control.setMovie(write(QStringLiteral("undeclared.svg"), svg));
    QVERIFY(control.isLoaded());
    showControl(control, QSize(20, 20));

    QCOMPARE(pixelAt(control, QPoint(10, 10)), QColor(0, 255, 0));
    QTest::mouseClick(&control, Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(!spy.wait(100));
    QCOMPARE(spy.count(), 0);
}

void TestMovieControl::sanitiserDropsOutsideReferences_data()
{
    QTest::addColumn<QByteArray>("svg");
    QTest::addColumn<QString>("gone");
    QTest::addColumn<QString>("kept");

    const QString pixel = QStringLiteral(
        "data:image/png;base64,iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mP8z8BQDwAEhQGAhKmMIQAAAABJRU5ErkJggg==");

    QTest::newRow("image of a system file")
        << movie(10, 10, "<image xlink:href=\"/etc/passwd\" width=\"10\" height=\"10\"/>")
        << "passwd" << "<svg";
    QTest::newRow("image of a sibling file")
        << movie(10, 10, "<image href=\"other.png\" width=\"10\" height=\"10\"/>") << "other.png"
        << "<svg";
    QTest::newRow("image by file URL")
        << movie(10, 10, "<image xlink:href=\" file:///etc/hostname\" width=\"10\" height=\"10\"/>")
        << "hostname" << "<svg";
    QTest::newRow("image without reference")
        << movie(10, 10, "<image width=\"10\" height=\"10\"/>") << "<image" << "<svg";
    QTest::newRow("use of another file")
        << movie(10, 10, "<use xlink:href=\"other.svg#shape\"/>") << "<use" << "<svg";
    QTest::newRow("link to the web")
        << movie(10, 10, "<a xlink:href=\"http://example.com/\"><rect width=\"5\" height=\"5\"/></a>")
        << "example.com" << "<rect";
    QTest::newRow("inline image kept")
        << movie(10, 10, QStringLiteral("<image xlink:href=\"%1\" width=\"10\" height=\"10\"/>").arg(pixel))
        << "" << pixel;
    // Data the renderer would take for a file name, or draw with a reader
    // that follows references of its own.
    QTest::newRow("image data named in capitals")
        << movie(10, 10, QStringLiteral("<image xlink:href=\"DATA:%1\" width=\"10\" height=\"10\"/>")
                             .arg(pixel.mid(5)))
        << "DATA:" << "<svg";
    QTest::newRow("svg image data")
        << movie(10, 10, QStringLiteral("<image xlink:href=\"data:image/svg+xml;base64,%1\" width=\"10\" "
                                        "height=\"10\"/>")
                             .arg(QString::fromLatin1(QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\">"
                                                                 "<image href=\"/etc/hostname\"/></svg>")
                                                          .toBase64())))
        << "svg+xml" << "<svg";
    QTest::newRow("fragment kept")
        << movie(10, 10, "<defs><rect id=\"dot\" width=\"2\" height=\"2\"/></defs>"
                         "<use xlink:href=\"#dot\"/>")
        << "" << "xlink:href=\"#dot\"";
    QTest::newRow("external entity")
        << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE svg [<!ENTITY secret SYSTEM "
                      "\"file:///etc/passwd\">]><svg xmlns=\"http://www.w3.org/2000/svg\" "
                      "width=\"10\" height=\"10\"><text>&secret;</text></svg>")
        << "passwd" << "<text";
    QTest::newRow("style sheet instruction")
        << QByteArray("<?xml-stylesheet href=\"style.css\" type=\"text/css\"?>") + movie(10, 10, "")
        << "style.css" << "<svg";
}

void TestMovieControl::sanitiserDropsOutsideReferences()
{
    QFETCH(QByteArray, svg);
    QFETCH(QString, gone);
    QFETCH(QString, kept);

    const MovieDocument document = MovieDocument::fromData(svg);
    QVERIFY(document.isValid());
    const QString sanitised = QString::fromUtf8(document.svg());
    if (!gone.isEmpty())
        QVERIFY2(!sanitised.contains(gone), qPrintable(sanitised));
    QVERIFY2(sanitised.contains(kept), qPrintable(sanitised));
    QSvgRenderer renderer(document.svg());
    QVERIFY(renderer.isValid());
}

void TestMovieControl::externalImageIsNotDrawn()
{
    QImage red(20, 20, QImage::Format_RGB32);
    red.fill(Qt::red);
    const QString image = m_dir.filePath(QStringLiteral("red.png"));
    QVERIFY(red.save(image));
    const QByteArray svg = movie(20, 20,
        QStringLiteral("<rect width=\"20\" height=\"20\" fill=\"#ffffff\"/>"
                       "<image width=\"20\" height=\"20\" xlink:href=\"%1\"/>")
            .arg(image));
    const QString path = write(QStringLiteral("external.svg"), svg);

    // The renderer on its own would draw the sibling file.
    QSvgRenderer raw(path);
    QImage direct(20, 20, QImage::Format_ARGB32_Premultiplied);
    direct.fill(Qt::transparent);
    QPainter painter(&direct);
    raw.render(&painter);
    painter.end();
    QCOMPARE(direct.pixelColor(10, 10), QColor(Qt::red));

    MovieControl control;
    control.setMovie(path);
    showControl(control, QSize(20, 20));
    QCOMPARE(pixelAt(control, QPoint(10, 10)), QColor(Qt::white));
}

void TestMovieControl::looksFollowPointer()
{
    const QByteArray svg = movie(60, 40,
        "<rect width=\"60\" height=\"40\" fill=\"#ffffff\"/>"
        "<rect id=\"button\" width=\"40\" height=\"40\" fill=\"#808080\" mv:command=\"b\"/>"
        "<rect x=\"10\" y=\"10\" width=\"20\" height=\"20\" fill=\"#00ff00\" mv:look=\"normal\"/>"
        "<rect x=\"10\" y=\"10\" width=\"20\" height=\"20\" fill=\"#ff0000\" mv:look=\"hover\"/>"
        "<rect x=\"10\" y=\"10\" width=\"20\" height=\"20\" style=\"fill:#0000ff;display:inline\" "
        "mv:look=\"pressed\"/>"
        "<rect width=\"5\" height=\"5\" fill=\"#00ffff\" mv:look=\"hover, pressed\"/>");
    MovieControl control;
    control.setMovie(write(QStringLiteral("looks.svg"), svg));
    showControl(control, QSize(60, 40));
    QSignalSpy spy(&control, &MovieControl::FSCommand);

    const QPoint onButton(20, 20);
    const QPoint offButton(50, 20);
    const QPoint corner(2, 2);
    const QColor green(0, 255, 0), red(255, 0, 0), blue(0, 0, 255), cyan(0, 255, 255),
        gray(128, 128, 128);

    QCOMPARE(control.look(), QStringLiteral("normal"));
    QCOMPARE(pixelAt(control, onButton), green);
    QCOMPARE(pixelAt(control, corner), gray);

    QTest::mouseMove(&control, offButton);
    QCOMPARE(control.look(), QStringLiteral("hover"));
    QCOMPARE(pixelAt(control, onButton), red);
    QCOMPARE(pixelAt(control, corner), cyan);

    QTest::mousePress(&control, Qt::LeftButton, {}, onButton);
    QCOMPARE(control.look(), QStringLiteral("pressed"));
    QCOMPARE(pixelAt(control, onButton), blue);
    QCOMPARE(pixelAt(control, corner), cyan);

    // Held, off the element and back on it.
    QTest::mouseMove(&control, offButton);
    QCOMPARE(control.look(), QStringLiteral("hover"));
    QTest::mouseMove(&control, onButton);
    QCOMPARE(control.look(), QStringLiteral("pressed"));

    QTest::mouseRelease(&control, Qt::LeftButton, {}, onButton);
    QCOMPARE(control.look(), QStringLiteral("hover"));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(pixelAt(control, onButton), red);

    // A press off every command element does not press the button.
    QTest::mousePress(&control, Qt::LeftButton, {}, offButton);
    QCOMPARE(control.look(), QStringLiteral("hover"));
    QTest::mouseRelease(&control, Qt::LeftButton, {}, offButton);

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&control, &leave);
    QCOMPARE(control.look(), QStringLiteral("normal"));
    QCOMPARE(pixelAt(control, onButton), green);
    QCOMPARE(pixelAt(control, corner), gray);
    QCOMPARE(spy.count(), 1);
}

void TestMovieControl::pixelVariantsFollowTheScale_data()
{
    QTest::addColumn<int>("side");     // the control's, for a movie of 20 x 20
    QTest::addColumn<QString>("look");
    QTest::addColumn<QColor>("shown");
    const QColor whole(0, 255, 0), fine(255, 0, 0), hoverWhole(0, 0, 255), hoverFine(255, 255, 0);
    QTest::newRow("one unit, one pixel") << 20 << "normal" << whole;
    QTest::newRow("scaled by 2") << 40 << "normal" << fine;
    QTest::newRow("scaled by 1.5") << 30 << "normal" << fine;
    QTest::newRow("one unit, one pixel, hovered") << 20 << "hover" << hoverWhole;
    QTest::newRow("scaled by 2, hovered") << 40 << "hover" << hoverFine;
}

// mv:pixels="whole" draws an element only where one unit of the movie is one
// device pixel, mv:pixels="fine" only at every other scale, in any look.
void TestMovieControl::pixelVariantsFollowTheScale()
{
    QFETCH(int, side);
    QFETCH(QString, look);
    QFETCH(QColor, shown);
    const QByteArray svg = movie(20, 20,
        "<rect id=\"button\" width=\"20\" height=\"20\" fill=\"#808080\" mv:command=\"b\"/>"
        "<rect x=\"5\" y=\"5\" width=\"10\" height=\"10\" fill=\"#00ff00\" mv:look=\"normal\" mv:pixels=\"whole\"/>"
        "<rect x=\"5\" y=\"5\" width=\"10\" height=\"10\" fill=\"#ff0000\" mv:look=\"normal\" mv:pixels=\"fine\"/>"
        "<rect x=\"5\" y=\"5\" width=\"10\" height=\"10\" fill=\"#0000ff\" mv:look=\"hover\" mv:pixels=\"whole\"/>"
        "<rect x=\"5\" y=\"5\" width=\"10\" height=\"10\" fill=\"#ffff00\" mv:look=\"hover\" mv:pixels=\"fine\"/>");
    MovieControl control;
    control.setMovie(write(QStringLiteral("pixels.svg"), svg));
    showControl(control, QSize(side, side));
    if (look == QLatin1String("hover"))
        QTest::mouseMove(&control, QPoint(side / 2, side / 2));
    QTRY_COMPARE_WITH_TIMEOUT(control.look(), look, 2000);
    QCOMPARE(pixelAt(control, QPoint(side / 2, side / 2)), shown);
    // The frame round it, drawn at every scale.
    QCOMPARE(pixelAt(control, QPoint(1, 1)), QColor(128, 128, 128));
}

void TestMovieControl::setMovieReplacesPreviousMovie()
{
    const QByteArray first = movie(40, 40,
        "<rect id=\"a\" width=\"40\" height=\"40\" fill=\"red\" mv:command=\"a\"/>",
        "mv:timer-after=\"0\" mv:timer-command=\"fromFirst\"");
    const QByteArray second = movie(40, 40,
        "<rect id=\"b\" width=\"20\" height=\"40\" fill=\"#0000ff\" mv:command=\"b\"/>");

    MovieControl control;
    QSignalSpy spy(&control, &MovieControl::FSCommand);
    control.setMovie(write(QStringLiteral("first.svg"), first));
    control.setMovie(write(QStringLiteral("second.svg"), second));
    showControl(control, QSize(40, 40));

    QCOMPARE(pixelAt(control, QPoint(30, 20)), Background);
    QTest::mouseClick(&control, Qt::LeftButton, {}, QPoint(30, 20));
    QTest::mouseClick(&control, Qt::LeftButton, {}, QPoint(10, 20));
    QVERIFY(!spy.wait(100));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("b"));
}

void TestMovieControl::stillMovieDoesNotRepaint()
{
    MovieControl control;
    control.setPlay(false);
    control.setMovie(write(QStringLiteral("still.svg"), slidingMovie()));
    showControl(control, QSize(20, 20));

    // Longer than the top square takes to slide.
    PaintCounter counter(&control);
    QTest::qWait(700);
    QCOMPARE(counter.paints, 0);
    QCOMPARE(pixelAt(control, TopRight), QColor(255, 0, 0));
    QCOMPARE(pixelAt(control, QPoint(5, 5)), QColor(0, 0, 255));

    // Drawn again at another size, it is still the first frame.
    control.resize(40, 40);
    QCOMPARE(pixelAt(control, TopRight * 2), QColor(255, 0, 0));
    QCOMPARE(pixelAt(control, QPoint(10, 10)), QColor(0, 0, 255));
}

void TestMovieControl::playingMovieAnimates_data()
{
    QTest::addColumn<bool>("play");
    QTest::addColumn<QString>("rootAttributes");

    QTest::newRow("play") << true << QString();
    QTest::newRow("autoplay without play") << false << QStringLiteral("mv:autoplay=\"true\"");
}

void TestMovieControl::playingMovieAnimates()
{
    QFETCH(bool, play);
    QFETCH(QString, rootAttributes);

    MovieControl control;
    control.setPlay(play);
    control.setMovie(write(QStringLiteral("playing.svg"), slidingMovie(rootAttributes)));
    showControl(control, QSize(20, 20));
    PaintCounter counter(&control);

    QTRY_VERIFY(pixelAt(control, TopRight).blue() > 200);
    QTRY_VERIFY(counter.paints > 2);
}

void TestMovieControl::endWithoutLoopIsHeld()
{
    MovieControl control;
    control.setLoop(false);
    control.setMovie(write(QStringLiteral("held.svg"), slidingMovie()));
    showControl(control, QSize(20, 20));

    QTRY_COMPARE(pixelAt(control, BottomLeftEdge), QColor(255, 0, 0));
    // Once the end is reached the control stops repainting and keeps it.
    QTest::qWait(400);
    PaintCounter counter(&control);
    QTest::qWait(300);
    QCOMPARE(counter.paints, 0);
    for (const QPoint &point : {TopLeftEdge, BottomLeftEdge})
        QCOMPARE(pixelAt(control, point), QColor(255, 0, 0));
    for (const QPoint &point : {TopRight, BottomRight})
        QCOMPARE(pixelAt(control, point), QColor(0, 0, 255));
}

void TestMovieControl::loopRestartsAnimation()
{
    MovieControl control;
    control.setLoop(true);
    control.setMovie(write(QStringLiteral("looping.svg"), slidingMovie()));
    showControl(control, QSize(20, 20));

    // The top square reaches its end and waits there for the bottom one;
    // then both start again.
    QTRY_VERIFY(pixelAt(control, TopRight).blue() > 200);
    QTRY_VERIFY(pixelAt(control, TopRight).red() > 200);
}

QTEST_MAIN(TestMovieControl)
#include "test_moviecontrol.moc"
