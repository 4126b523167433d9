// SPDX-License-Identifier: MIT
// The window's layout, checked on a real window offscreen: the controls'
// places, states, stacking, tab order and fonts, and, from the window's own
// pixels, that every small control sits inside the box its artwork draws.
#include "WindowFixture.h"
#include "ProgramFolder.h"
#include "WindowDriver.h"

#include "TestWindow.h"
#include "app/Layout.h"
#include "widgets/PictureBox.h"
#include "widgets/TextBox.h"
#include "widgets/MovieControl.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

// Inclusive pixel rectangles, as the artwork's boxes are measured.
QRect span(int x0, int y0, int x1, int y1)
{
    return QRect(QPoint(x0, y0), QPoint(x1, y1));
}

QColor grey(int level)
{
    return QColor(level, level, level);
}

// The sunken code box: its light warm outer line, its dark inner one.
const QColor codeBoxLight(241, 239, 226);
const QColor codeBoxDark(113, 111, 100);

QWidget *widgetOf(const TestWindow &form, const QString &name)
{
    return qobject_cast<QWidget *>(form.control(name));
}

QColor pixel(const QImage &image, QPoint at)
{
    return image.pixelColor(at);
}

// The columns and rows of image whose pixels differ from background by
// more than a faint anti-aliasing fringe; an empty rectangle when none do.
QRect inkOf(const QImage &image, const QColor &background)
{
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const int d = qAbs(c.red() - background.red()) + qAbs(c.green() - background.green())
                          + qAbs(c.blue() - background.blue());
            if (d > 96)
                ink = ink.united(QRect(x, y, 1, 1));
        }
    }
    return ink;
}

// What a text looks like with nothing around it to cut it off.
QRect freeInk(const QFont &font, const QString &text, const QColor &ink, const QColor &background)
{
    QImage image(200, 60, QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(ink);
    painter.drawText(QPoint(20, 40), text);
    painter.end();
    return inkOf(image, background);
}

} // namespace

class LayoutTest : public WindowFixture
{
    Q_OBJECT

private slots:
    void init();

    void windowIsFixed();
    void controlPlacesAndStates_data();
    void controlPlacesAndStates();
    void introCoversTheWindow();
    void clickOnIntroReachesNothingBelow_data();
    void clickOnIntroReachesNothingBelow();
    void paletteFillsItsArea();
    void controlsSitInTheirBoxes_data();
    void controlsSitInTheirBoxes();
    void stackingFollowsTheTable();
    void tabWalksInTabIndexOrder_data();
    void tabWalksInTabIndexOrder();
    void hiddenLabelsAndCursorsNeverShow();
    void fontsAndColours_data();
    void fontsAndColours();
    void textsFit_data();
    void textsFit();
    void positionAndCountShareABaseline();
    void maximumLengthLimitsTheUser_data();
    void maximumLengthLimitsTheUser();

private:
    // The window as it is drawn on the screen.
    QImage shownWindow();
    // The panel's position in the window and its picture, for reading the
    // artwork under a control.
    QPoint panelOrigin(int panel) const;
    QImage panelPicture(int panel) const;

};

void LayoutTest::init()
{
    createFolder(ProgramFolder::card(3, 8));
    // One collected colour, so that the collection panel shows its buttons.
    m_folder->addCollectionRows({{QStringLiteral("5327"), ProgramFolder::codeFor(2, 3)}});
    QVERIFY(openWindow(false));
}

QImage LayoutTest::shownWindow()
{
    return m_form->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QPoint LayoutTest::panelOrigin(int panel) const
{
    return m_form->tart_pb(panel)->pos();
}

QImage LayoutTest::panelPicture(int panel) const
{
    return m_form->tart_pb(panel)->picture().toImage().convertToFormat(QImage::Format_RGB32);
}

void LayoutTest::windowIsFixed()
{
    TestWindow &f = *m_form;
    QVERIFY(WindowDriver::showReady(f));
    const QSize client(210, 690);
    QCOMPARE(f.size(), client);
    QCOMPARE(f.minimumSize(), client);
    QCOMPARE(f.maximumSize(), client);
    f.resize(300, 800);
    QCOMPARE(f.size(), client);

    const Qt::WindowFlags flags = f.windowFlags();
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QCOMPARE(f.windowTitle(), QStringLiteral("Tesselle 5327"));
    const QList<QSize> iconSizes = f.windowIcon().availableSizes();
    QVERIFY(iconSizes.contains(QSize(16, 16)));
    QVERIFY(iconSizes.contains(QSize(48, 48)));

    // The window picture covers the client area unscaled: its grey margin
    // reaches every corner, and the back colour shows nowhere.
    const QImage shown = shownWindow();
    for (QPoint corner : {QPoint(0, 0), QPoint(209, 0), QPoint(0, 689), QPoint(209, 689)})
        QCOMPARE(pixel(shown, corner), grey(189));
    QCOMPARE(pixel(shown, QPoint(11, 11)), grey(128));
    QCOMPARE(pixel(shown, QPoint(198, 678)), grey(128));
}

void LayoutTest::controlPlacesAndStates_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("place");  // pixels in the container
    QTest::addColumn<bool>("shown");   // visible in itself, whatever its container
    QTest::addColumn<bool>("enabled");

    struct Row
    {
        const char *name;
        int x, y, w, h;
        bool shown, enabled;
    };
    // clang-format off
    const Row rows[] = {
    //   name              x    y    w    h  shown  enabled
        {"intro_swf",      0,   0, 210, 690, true,  true},
        {"tart_pb(1)",    35, 195, 140, 460, false, true},
        {"baby_code",      8, 352, 127,  16, true,  true},
        {"baby_color",     8,   3, 127, 341, true,  true},
        {"baby_num",      24, 437,  22,  15, true,  true},
        {"nextb_swf",    104, 439,  13,  13, true,  true},
        {"previousb_swf", 83, 439,  13,  13, true,  true},
        {"deleteb_swf",   45, 393,  48,  16, true,  true},
        {"baby_nummax",   46, 437,  24,  12, true,  true},
        {"tart_pb(0)",    35, 195, 140, 460, true,  true},
        {"findcode_txt3",116, 396,  17,  14, true,  true},
        {"findcode_txt2", 94, 396,  17,  14, true,  true},
        {"addtobaby_swf", 29, 437,  83,  16, true,  true},
        {"previous_swf", 102, 371,  13,  13, true,  true},
        {"next_swf",     123, 371,  13,  13, true,  true},
        {"pagecolor(0)",   7,   3, 127,  40, false, false},
        {"pagen_text",    68, 371,  24,  13, true,  true},
        {"findcode_txt1", 72, 396,  17,  14, true,  true},
        {"pageselect",     8,  56, 131,  44, false, false},
        {"pagecs",         2,   2, 127,  40, true,  false},
        {"codedot_lb(1)",111, 396,   5,  11, true,  true},
        {"codedot_lb(0)", 90, 396,   5,  11, true,  true},
        {"lab_dlt(7)",   144, 366,  12,  16, false, true},
        {"lab_dlt(6)",   144, 334,  12,  16, false, true},
        {"lab_dlt(5)",   144, 302,  12,  16, false, true},
        {"lab_dlt(2)",   144, 206,  12,  16, false, true},
        {"e_label(2)",     2, 398,  60,  15, true,  true},
        {"e_label(1)",     2, 371,  58,  15, true,  true},
        {"lab_dlt(3)",   144, 238,  12,  16, false, true},
        {"lab_dlt(1)",   144, 174,  12,  16, false, true},
        {"lab_dlt(4)",   144, 270,  12,  16, false, true},
        {"palettac",      29,  29, 152, 157, true,  true},
    };
    // clang-format on
    for (const Row &r : rows)
        QTest::newRow(r.name) << QString::fromLatin1(r.name) << QRect(r.x, r.y, r.w, r.h) << r.shown
                              << r.enabled;
}

void LayoutTest::controlPlacesAndStates()
{
    QFETCH(QString, name);
    QFETCH(QRect, place);
    QFETCH(bool, shown);
    QFETCH(bool, enabled);

    QWidget *w = widgetOf(*m_form, name);
    QVERIFY(w);
    QCOMPARE(w->geometry(), place);
    QCOMPARE(!w->isHidden(), shown);
    QCOMPARE(w->testAttribute(Qt::WA_Disabled), !enabled);
}

void LayoutTest::introCoversTheWindow()
{
    TestWindow &f = *m_form;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QCOMPARE(f.intro_swf()->geometry(), f.rect());

    // Wherever one looks, the intro is the control on top.
    for (int y = 0; y < 690; y += 23) {
        for (int x = 0; x < 210; x += 15)
            QCOMPARE(f.childAt(x, y), f.intro_swf());
    }

    // The window shows the intro's picture and nothing else: the intro is
    // opaque all over. The wheel's turning is taken out of the movie, so
    // that the window and the intro alone are drawn from the same frame.
    QFile movie(f.intro_swf()->movie());
    QVERIFY(movie.open(QIODevice::ReadOnly));
    QByteArray still = movie.readAll();
    const qsizetype turn = still.indexOf("<animateTransform");
    QVERIFY(turn > 0);
    still.remove(turn, still.indexOf("/>", turn) + 2 - turn);
    QVERIFY(!still.contains("<animate"));
    const QString stillPath = m_folder->path() + QStringLiteral("/still-intro.svg");
    QFile stillFile(stillPath);
    QVERIFY(stillFile.open(QIODevice::WriteOnly) && stillFile.write(still) == still.size());
    stillFile.close();
    f.intro_swf()->setMovie(stillPath);

    const QImage window = shownWindow();
    const QImage intro = f.intro_swf()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(window.size(), intro.size());
    for (int y = 0; y < window.height(); ++y) {
        for (int x = 0; x < window.width(); ++x) {
            if (window.pixel(x, y) != intro.pixel(x, y))
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2 is not the intro's").arg(x).arg(y)));
        }
    }
    // Under the intro lies the card panel, whose page-number box frame is
    // not seen while the intro is shown, and is seen once it is gone.
    const QPoint pageBoxFrame = panelOrigin(0) + QPoint(66, 377);
    QVERIFY(pixel(window, pageBoxFrame) != grey(172));

    emit f.intro_swf()->FSCommand(QStringLiteral("1"), QString());
    QVERIFY(f.intro_swf()->isHidden());
    QCOMPARE(pixel(shownWindow(), pageBoxFrame), grey(172));
}

void LayoutTest::clickOnIntroReachesNothingBelow_data()
{
    QTest::addColumn<QPoint>("at");  // in the window

    QTest::newRow("palette sector 3") << QPoint(29 + 104, 29 + 62);
    QTest::newRow("collection tab") << QPoint(29 + 114, 29 + 11);
    QTest::newRow("first swatch") << QPoint(35 + 60, 195 + 20);
    QTest::newRow("page-number box") << QPoint(35 + 80, 195 + 377);
    QTest::newRow("next page") << QPoint(35 + 129, 195 + 377);
    QTest::newRow("first code field") << QPoint(35 + 80, 195 + 402);
    QTest::newRow("add to collection") << QPoint(35 + 70, 195 + 444);
}

void LayoutTest::clickOnIntroReachesNothingBelow()
{
    QFETCH(QPoint, at);
    TestWindow &f = *m_form;
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));

    QSignalSpy intro(f.intro_swf(), &MovieControl::FSCommand);
    std::vector<std::unique_ptr<QSignalSpy>> below;
    for (MovieControl *movie : {f.palettac(), f.next_swf(), f.previous_swf(), f.addtobaby_swf()})
        below.push_back(std::make_unique<QSignalSpy>(movie, &MovieControl::FSCommand));
    QWidget *focusBefore = WindowDriver::focus();

    WindowDriver::clickThroughWindow(&f, at);

    // The click went to the intro, which dismissed itself ...
    QVERIFY(!intro.isEmpty());
    QCOMPARE(intro.first().at(0).toString(), QStringLiteral("1"));
    QVERIFY(f.intro_swf()->isHidden());
    // ... and to nothing underneath it.
    for (const auto &spy : below)
        QCOMPARE(spy->count(), 0);
    QCOMPARE(f.color_a(), QString());
    QCOMPARE(f.pagen_text()->text(), QStringLiteral("1"));
    QVERIFY(f.pageselect()->isHidden());
    QVERIFY(!f.tart_pb(0)->isHidden());
    QCOMPARE(WindowDriver::focus(), focusBefore);
    QCOMPARE(m_folder->collectionCodes(), QStringList{ProgramFolder::codeFor(2, 3)});
}

void LayoutTest::paletteFillsItsArea()
{
    TestWindow &f = *m_form;
    QVERIFY(WindowDriver::showReady(f));
    QCOMPARE(f.palettac()->geometry(), QRect(29, 29, 152, 157));

    const QImage shown = shownWindow();
    // The inner frame runs round the palette, touching it on three sides;
    // the window's grey rule closes the area just below it.
    for (int y = 28; y <= 186; ++y) {
        QCOMPARE(pixel(shown, QPoint(28, y)), grey(172));
        QCOMPARE(pixel(shown, QPoint(181, y)), grey(172));
    }
    for (int x = 28; x <= 181; ++x)
        QCOMPARE(pixel(shown, QPoint(x, 28)), grey(172));
    for (int x = 29; x <= 180; ++x)
        QCOMPARE(pixel(shown, QPoint(x, 186)), grey(186));
    // The palette's own header lines fall where the window picture has
    // them: the tab divider at column 105, the header rule at row 51.
    for (int y = 30; y <= 49; ++y) {
        QCOMPARE(pixel(shown, QPoint(105, y)), grey(186));
        QVERIFY(pixel(shown, QPoint(104, y)) != grey(186));
    }
    for (int x = 30; x <= 179; ++x)
        QCOMPARE(pixel(shown, QPoint(x, 51)), grey(186));
}

void LayoutTest::controlsSitInTheirBoxes_data()
{
    QTest::addColumn<int>("panel");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("control");  // pixels of the panel, inclusive
    QTest::addColumn<QRect>("box");      // the drawn box, frame included
    QTest::addColumn<QColor>("frame");

    const QRect pageBox = span(66, 370, 93, 384);
    const QRect previousBox = span(101, 370, 115, 384);
    const QRect nextBox = span(122, 370, 136, 384);
    const QRect codeBox = span(66, 393, 136, 411);
    const QRect addBox = span(28, 436, 112, 453);
    const QRect deleteBox = span(44, 392, 93, 409);
    const QRect positionBox = span(22, 436, 71, 453);
    const QRect previousEntryBox = span(82, 438, 96, 452);
    const QRect nextEntryBox = span(103, 438, 117, 452);

    // clang-format off
    QTest::newRow("pagen_text")    << 0 << "pagen_text"    << span(68, 371, 91, 383)   << pageBox          << grey(172);
    QTest::newRow("previous_swf")  << 0 << "previous_swf"  << span(102, 371, 114, 383) << previousBox      << grey(172);
    QTest::newRow("next_swf")      << 0 << "next_swf"      << span(123, 371, 135, 383) << nextBox          << grey(172);
    QTest::newRow("findcode_txt1") << 0 << "findcode_txt1" << span(72, 396, 88, 409)   << codeBox          << codeBoxLight;
    QTest::newRow("findcode_txt2") << 0 << "findcode_txt2" << span(94, 396, 110, 409)  << codeBox          << codeBoxLight;
    QTest::newRow("findcode_txt3") << 0 << "findcode_txt3" << span(116, 396, 132, 409) << codeBox          << codeBoxLight;
    QTest::newRow("addtobaby_swf") << 0 << "addtobaby_swf" << span(29, 437, 111, 452)  << addBox           << grey(198);
    QTest::newRow("deleteb_swf")   << 1 << "deleteb_swf"   << span(45, 393, 92, 408)   << deleteBox        << grey(198);
    QTest::newRow("baby_num")      << 1 << "baby_num"      << span(24, 437, 45, 451)   << positionBox      << grey(198);
    QTest::newRow("baby_nummax")   << 1 << "baby_nummax"   << span(46, 437, 69, 448)   << positionBox      << grey(198);
    QTest::newRow("previousb_swf") << 1 << "previousb_swf" << span(83, 439, 95, 451)   << previousEntryBox << grey(172);
    QTest::newRow("nextb_swf")     << 1 << "nextb_swf"     << span(104, 439, 116, 451) << nextEntryBox     << grey(172);
    // clang-format on
}

void LayoutTest::controlsSitInTheirBoxes()
{
    QFETCH(int, panel);
    QFETCH(QString, name);
    QFETCH(QRect, control);
    QFETCH(QRect, box);
    QFETCH(QColor, frame);

    TestWindow &f = *m_form;
    QVERIFY(WindowDriver::showReady(f));
    if (panel == 1)
        emit f.palettac()->FSCommand(QString(), QString());
    QWidget *w = widgetOf(f, name);
    QVERIFY(w->isVisibleTo(&f));
    QCOMPARE(QRect(w->mapTo(f.tart_pb(panel), QPoint(0, 0)), w->size()), control);
    QVERIFY(box.adjusted(1, 1, -1, -1).contains(control));

    // The frame, read from the window as shown, runs unbroken round the box.
    const QImage shown = shownWindow();
    const QPoint origin = panelOrigin(panel);
    for (int x = box.left(); x <= box.right(); ++x) {
        QCOMPARE(pixel(shown, origin + QPoint(x, box.top())), frame);
        QCOMPARE(pixel(shown, origin + QPoint(x, box.bottom())), frame);
    }
    for (int y = box.top(); y <= box.bottom(); ++y) {
        QCOMPARE(pixel(shown, origin + QPoint(box.left(), y)), frame);
        QCOMPARE(pixel(shown, origin + QPoint(box.right(), y)), frame);
    }

    // The control blends into its box. A text box's background is the box's
    // fill, so that no seam shows where it meets it; a movie button draws
    // the box's own inner white line and fill where it covers them.
    const QImage picture = panelPicture(panel);
    const QPoint centre = control.center();
    if (auto *text = qobject_cast<TextBox *>(w)) {
        const QColor fill = pixel(picture, centre);
        QCOMPARE(text->backColor(), fill);
        const QPoint leftEdge(control.left(), centre.y());
        QCOMPARE(pixel(shown, origin + leftEdge), fill);
    } else if (qobject_cast<MovieControl *>(w)) {
        const QRect inner = control.adjusted(1, 1, -1, -1);
        for (const QRect &ring : {control, inner}) {
            for (int x = ring.left(); x <= ring.right(); ++x) {
                for (int y : {ring.top(), ring.bottom()})
                    QCOMPARE(pixel(shown, origin + QPoint(x, y)), pixel(picture, QPoint(x, y)));
            }
            for (int y = ring.top(); y <= ring.bottom(); ++y) {
                for (int x : {ring.left(), ring.right()})
                    QCOMPARE(pixel(shown, origin + QPoint(x, y)), pixel(picture, QPoint(x, y)));
            }
        }
    }

    // The code box is sunken: its dark line runs along the top and left
    // inside the light outer line, and the fields stay clear of it.
    if (frame == codeBoxLight) {
        QCOMPARE(pixel(shown, origin + QPoint(box.left() + 1, centre.y())), codeBoxDark);
        QCOMPARE(pixel(shown, origin + QPoint(centre.x(), box.top() + 1)), codeBoxDark);
    }
}

void LayoutTest::stackingFollowsTheTable()
{
    TestWindow &f = *m_form;
    // Among overlapping controls of one container, an earlier one lies in
    // front. (Where controls do not overlap their order cannot be seen: the
    // page view puts the selection frame over the swatches' column once.)
    for (int i = 0; i < Layout::controlCount; ++i) {
        for (int j = i + 1; j < Layout::controlCount; ++j) {
            const Layout::Control &a = Layout::controls[i];
            const Layout::Control &b = Layout::controls[j];
            auto key = [](const Layout::Control &c) {
                const QString name = QString::fromLatin1(c.name);
                return c.index < 0 ? name : QStringLiteral("%1(%2)").arg(name).arg(c.index);
            };
            QWidget *front = widgetOf(f, key(a));
            QWidget *back = widgetOf(f, key(b));
            if (!front || !back || front->parentWidget() != back->parentWidget()
                || !front->geometry().intersects(back->geometry()))
                continue;
            const QObjectList &stack = front->parentWidget()->children();  // bottom first
            QVERIFY2(stack.indexOf(front) > stack.indexOf(back),
                     qPrintable(key(a) + QStringLiteral(" is behind ") + key(b)));
        }
    }

    QVERIFY(WindowDriver::showReady(f));
    // Both panels shown: the collection panel is the one on top.
    f.tart_pb(1)->show();
    const QPoint inPanel = panelOrigin(0) + QPoint(4, 200);
    QWidget *top = f.childAt(inPanel);
    QVERIFY(top == f.tart_pb(1) || f.tart_pb(1)->isAncestorOf(top));
    f.tart_pb(1)->hide();
    // The last column of the first dot lies under the second code field.
    QCOMPARE(f.childAt(panelOrigin(0) + QPoint(94, 400)), f.findcode_txt2());
    QCOMPARE(f.childAt(panelOrigin(0) + QPoint(93, 400)), f.codedot_lb(0));
}

void LayoutTest::tabWalksInTabIndexOrder_data()
{
    QTest::addColumn<int>("panel");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QStringList>("order");  // as Tab visits them, back to start

    QTest::newRow("card panel")
        << 0 << "findcode_txt1"
        << QStringList{"swatchColumn",  "palettac",      "pagen_text",    "next_swf",
                       "previous_swf",  "addtobaby_swf", "findcode_txt2", "findcode_txt3",
                       "tart_pb(0)",    "findcode_txt1"};
    QTest::newRow("collection panel")
        << 1 << "palettac"
        << QStringList{"tart_pb(1)",   "baby_color",    "baby_code",   "baby_num",
                       "nextb_swf",    "previousb_swf", "deleteb_swf", "palettac"};
}

void LayoutTest::tabWalksInTabIndexOrder()
{
    QFETCH(int, panel);
    QFETCH(QString, start);
    QFETCH(QStringList, order);

    TestWindow &f = *m_form;
    QVERIFY(WindowDriver::showReady(f));
    if (panel == 1)
        emit f.palettac()->FSCommand(QString(), QString());
    widgetOf(f, start)->setFocus();
    QTRY_COMPARE(WindowDriver::focus(), widgetOf(f, start));

    QStringList visited;
    for (int i = 0; i < order.size(); ++i) {
        WindowDriver::key(Qt::Key_Tab);
        visited << WindowDriver::focus()->objectName();
    }
    QCOMPARE(visited, order);
    // Shift+Tab walks the same way back.
    WindowDriver::key(Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(WindowDriver::focus()->objectName(), order.at(order.size() - 2));
}

void LayoutTest::hiddenLabelsAndCursorsNeverShow()
{
    TestWindow &f = *m_form;
    QVERIFY(WindowDriver::showReady(f));
    auto checkHidden = [&f] {
        for (int i = 1; i <= 7; ++i) {
            QVERIFY(f.lab_dlt(i));
            QVERIFY(!f.lab_dlt(i)->isVisible());
        }
        // The data cursors are no widgets at all: nothing of them can show.
        for (QObject *cursor : {f.control(QStringLiteral("data1")), f.control(QStringLiteral("Adodc1")),
                                f.control(QStringLiteral("Adodc2"))}) {
            QVERIFY(cursor);
            QVERIFY(!cursor->isWidgetType());
        }
    };
    checkHidden();
    emit f.next_swf()->FSCommand(QString(), QString());
    f.pagecolor_Click(2);
    emit f.palettac()->FSCommand(QString(), QString());
    emit f.nextb_swf()->FSCommand(QString(), QString());
    emit f.palettac()->FSCommand(QStringLiteral("5327"), QString());
    checkHidden();
    // Beyond the card panel's right edge: even shown, nothing would appear.
    for (int i = 1; i <= 7; ++i)
        QVERIFY(f.lab_dlt(i)->x() >= f.tart_pb(0)->width());
}

void LayoutTest::fontsAndColours_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QColor>("text");

    const QString sans = QStringLiteral("Liberation Sans");
    const QColor black(0, 0, 0);
    // clang-format off
    QTest::newRow("window")        << "Form1"         << sans << 11 << false << black;
    QTest::newRow("pagen_text")    << "pagen_text"    << sans << 11 << false << black;
    QTest::newRow("findcode_txt1") << "findcode_txt1" << sans << 11 << false << black;
    QTest::newRow("findcode_txt3") << "findcode_txt3" << sans << 11 << false << black;
    QTest::newRow("baby_code")     << "baby_code"     << sans << 12 << false << black;
    QTest::newRow("baby_num")      << "baby_num"      << sans << 12 << false << black;
    QTest::newRow("baby_nummax")   << "baby_nummax"   << sans << 12 << false << QColor(64, 64, 64);
    QTest::newRow("e_label(1)")    << "e_label(1)"    << sans << 11 << false << black;
    QTest::newRow("codedot_lb(0)") << "codedot_lb(0)" << sans << 11 << false << black;
    QTest::newRow("lab_dlt(4)")    << "lab_dlt(4)"    << "DejaVu Sans" << 12 << true << black;
    // clang-format on
}

void LayoutTest::fontsAndColours()
{
    QFETCH(QString, name);
    QFETCH(QString, family);
    QFETCH(int, pixelSize);
    QFETCH(bool, bold);
    QFETCH(QColor, text);

    QWidget *w = widgetOf(*m_form, name);
    const QFontInfo info(w->font());
    QCOMPARE(info.family(), family);
    QCOMPARE(info.pixelSize(), pixelSize);
    QCOMPARE(info.bold(), bold);
    QVERIFY(!info.italic());
    if (auto *box = qobject_cast<TextBox *>(w))
        QCOMPARE(box->foreColor(), text);
    else if (qobject_cast<QLabel *>(w))
        QCOMPARE(w->palette().color(QPalette::WindowText), text);
}

void LayoutTest::textsFit_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Qt::Alignment>("alignment");

    // The widest texts each box has to show: the highest page, the widest
    // code groups ("W" is the card's widest letter), the widest position.
    // clang-format off
    QTest::newRow("page 999")        << "pagen_text"    << "999"        << Qt::Alignment(Qt::AlignHCenter);
    QTest::newRow("page 1")          << "pagen_text"    << "1"          << Qt::Alignment(Qt::AlignHCenter);
    QTest::newRow("code group W8")   << "findcode_txt1" << "W8"         << Qt::Alignment(Qt::AlignHCenter);
    QTest::newRow("code group 88")   << "findcode_txt2" << "88"         << Qt::Alignment(Qt::AlignHCenter);
    QTest::newRow("code group M0")   << "findcode_txt3" << "M0"         << Qt::Alignment(Qt::AlignHCenter);
    QTest::newRow("sample code")     << "baby_code"     << "K8.04.43"   << Qt::Alignment(Qt::AlignHCenter);
    QTest::newRow("widest code")     << "baby_code"     << "W8.88.88"   << Qt::Alignment(Qt::AlignHCenter);
    QTest::newRow("position 888")    << "baby_num"      << "888"        << Qt::Alignment(Qt::AlignRight);
    QTest::newRow("position 1")      << "baby_num"      << "1"          << Qt::Alignment(Qt::AlignRight);
    QTest::newRow("count /888")      << "baby_nummax"   << "/888"       << Qt::Alignment(Qt::AlignLeft);
    QTest::newRow("page caption")    << "e_label(1)"    << "Page No.:"  << Qt::Alignment(Qt::AlignLeft);
    QTest::newRow("code caption")    << "e_label(2)"    << "Enter Code" << Qt::Alignment(Qt::AlignLeft);
    QTest::newRow("dot")             << "codedot_lb(0)" << "."          << Qt::Alignment(Qt::AlignLeft);
    // clang-format on
}

void LayoutTest::textsFit()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(Qt::Alignment, alignment);

    TestWindow &f = *m_form;
    QVERIFY(WindowDriver::showReady(f));
    if (name.startsWith(QLatin1String("baby")))
        emit f.palettac()->FSCommand(QString(), QString());
    QWidget *w = widgetOf(f, name);
    QVERIFY(w->isVisible());
    QVERIFY(!w->hasFocus());  // no text cursor in the picture

    QColor ink;
    QColor background = Qt::white;  // behind a transparent label
    if (auto *box = qobject_cast<TextBox *>(w)) {
        box->setText(text);
        ink = box->foreColor();
        background = box->backColor();
    } else {
        auto *label = qobject_cast<QLabel *>(w);
        label->setText(text);
        ink = label->palette().color(QPalette::WindowText);
    }
    QVERIFY(QFontMetrics(w->font()).horizontalAdvance(text) <= w->width());

    QImage image(w->size(), QImage::Format_RGB32);
    image.fill(background);
    w->render(&image);
    const QRect drawn = inkOf(image, background);
    const QRect whole = freeInk(w->font(), text, ink, background);
    QVERIFY(!whole.isEmpty());
    // Nothing of the text is cut off at any edge of the box.
    QCOMPARE(drawn.size(), whole.size());

    const int leftGap = drawn.left();
    const int rightGap = w->width() - 1 - drawn.right();
    if (alignment == Qt::AlignHCenter)
        QVERIFY2(qAbs(leftGap - rightGap) <= 1, qPrintable(QStringLiteral("gaps %1 and %2").arg(leftGap).arg(rightGap)));
    else if (alignment == Qt::AlignRight)
        QVERIFY2(rightGap <= 2, qPrintable(QStringLiteral("right gap %1").arg(rightGap)));
    else
        QVERIFY2(leftGap <= 1, qPrintable(QStringLiteral("left gap %1").arg(leftGap)));
}

void LayoutTest::positionAndCountShareABaseline()
{
    TestWindow &f = *m_form;
    QVERIFY(WindowDriver::showReady(f));
    emit f.palettac()->FSCommand(QString(), QString());
    // The same digits in both, so that their ink spans the same rows when
    // they stand on one baseline.
    f.baby_num()->setText(QStringLiteral("12"));
    f.baby_nummax()->setText(QStringLiteral("12"));
    const QImage window = shownWindow();
    const qreal scale = window.devicePixelRatio();
    auto inkRows = [&](QWidget *w) {
        const QRect r(w->mapTo(&f, QPoint(0, 0)) * scale, w->size() * scale);
        const QImage part = window.copy(r);
        return inkOf(part, part.pixelColor(part.width() - 1, 0)).translated(0, r.top());
    };
    const QRect position = inkRows(f.baby_num());
    const QRect count = inkRows(f.baby_nummax());
    QVERIFY(!position.isEmpty() && !count.isEmpty());
    QCOMPARE(count.top(), position.top());
    QCOMPARE(count.bottom(), position.bottom());
}

void LayoutTest::maximumLengthLimitsTheUser_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("how");  // typed, or put on the clipboard and pasted
    QTest::addColumn<QString>("shown");

    // clang-format off
    QTest::newRow("page typed")               << "pagen_text"    << 3 << "4567"     << "typed" << "456";
    QTest::newRow("code group pasted by key") << "findcode_txt1" << 2 << "K8.04.43" << "Ctrl+V" << "K8";
    QTest::newRow("code group pasted by menu")<< "findcode_txt3" << 2 << "43 and on" << "menu" << "43";
    QTest::newRow("baby_code is read-only")   << "baby_code"     << 8 << "ab"       << "typed" << "K8.04.43";
    QTest::newRow("baby_num is read-only")    << "baby_num"      << 3 << "12"       << "typed" << "1";
    // clang-format on
}

void LayoutTest::maximumLengthLimitsTheUser()
{
    QFETCH(QString, name);
    QFETCH(int, maxLength);
    QFETCH(QString, entry);
    QFETCH(QString, how);
    QFETCH(QString, shown);

    TestWindow &f = *m_form;
    QVERIFY(WindowDriver::showReady(f));
    auto *box = qobject_cast<TextBox *>(widgetOf(f, name));
    QCOMPARE(box->maxTypedLength(), maxLength);
    if (box == f.baby_code() || box == f.baby_num())
        f.tart_pb(1)->show();  // the layout's first contents, not yet filled
    box->setFocus();
    QTRY_COMPARE(WindowDriver::focus(), box);
    box->selectAll();
    if (how == QLatin1String("typed")) {
        WindowDriver::type(entry);
    } else if (how == QLatin1String("Ctrl+V")) {
        QGuiApplication::clipboard()->setText(entry);
        WindowDriver::key(Qt::Key_V, Qt::ControlModifier);
    } else {
        QGuiApplication::clipboard()->setText(entry);
        const QPoint inside(4, 4);
        QContextMenuEvent request(QContextMenuEvent::Mouse, inside, box->mapToGlobal(inside));
        QApplication::sendEvent(box, &request);
        QTRY_VERIFY(qobject_cast<QMenu *>(QApplication::activePopupWidget()));
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        const QString paste = QCoreApplication::translate("QLineEdit", "&Paste");
        QAction *pasteAction = nullptr;
        for (QAction *action : menu->actions()) {
            if (action->text().startsWith(paste))
                pasteAction = action;
        }
        QVERIFY(pasteAction);
        pasteAction->trigger();
        menu->close();
    }
    QCOMPARE(box->text(), shown);

    // What the program writes is shown whole, however long.
    const QString longer = QStringLiteral("T0\".01.02 and more");
    box->setText(longer);
    QCOMPARE(box->text(), longer);
}

QTEST_MAIN(LayoutTest)
#include "test_layout.moc"
