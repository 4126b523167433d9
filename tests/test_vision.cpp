// SPDX-License-Identifier: MIT
// Colours as people with a colour-vision deficiency see them: the card and
// the collection painted so in the real window, chosen from the menus and by
// key, and which collected colours they cannot tell apart, from the command
// line. Expected values are colorspacious's (Machado et al. 2009) and
// scikit-image's.
#include "ProgramFolder.h"
#include "ProgramRun.h"
#include "RowPixels.h"
#include "WindowDriver.h"
#include "WindowFixture.h"

#include "collection/VisionCheckDialog.h"
#include "widgets/CardPaint.h"
#include "widgets/MovieControl.h"
#include "widgets/PictureBox.h"
#include "widgets/Swatch.h"
#include "widgets/TextBox.h"

#include <QAccessible>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QTreeWidget>
#include <QTest>

namespace {

using Run = ProgramRun::Result;

Run tesselle(const ProgramFolder &folder, const QStringList &arguments)
{
    return ProgramRun::run(folder, QStringList{QStringLiteral("--database"), folder.databasePath()} + arguments,
                           ProgramRun::Options{ProgramRun::Display::None});
}

struct Line
{
    QString kind;
    QString first;
    QString second;
    double seen;
    double normal;
};

// "deuteranopia  K8.04.43  D7.70.43  1.8  23.5"
QVector<Line> linesOf(const QString &out)
{
    QVector<Line> lines;
    for (const QString &text : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList f = text.split(QStringLiteral("  "));
        if (f.size() != 5)
            return {{text, {}, {}, -1, -1}};
        lines.append({f[0], f[1], f[2], f[3].toDouble(), f[4].toDouble()});
    }
    return lines;
}

// A triggered entry of a submenu leaves the menus open offscreen.
void closeMenus()
{
    while (QWidget *popup = QApplication::activePopupWidget())
        popup->close();
}

// The colour painted at the middle of a box.
QRgb paintedOf(QWidget *box)
{
    return box->grab().toImage().pixel(box->width() / 2, box->height() / 2);
}

QVector<CardRow> visionCard()
{
    // A grey and a pink a protanope cannot tell apart, side by side on page 1
    // with a blue everyone tells apart; an olive and a rust on pages 2 and 3,
    // which protanopes, deuteranopes and achromats confuse.
    QVector<CardRow> card = ProgramFolder::card(3, 3);
    const auto paint = [&card](int page, int row, int r, int g, int b) {
        CardRow &c = card[(page - 1) * 3 + row - 1];
        c.r = r;
        c.g = g;
        c.b = b;
    };
    paint(1, 1, 116, 116, 116);
    paint(1, 2, 187, 101, 114);
    paint(1, 3, 40, 70, 200);
    paint(2, 1, 74, 51, 12);
    paint(3, 1, 93, 39, 16);
    return card;
}

} // namespace

// The window painted as another eye sees it.
class VisionWindowTest : public WindowFixture
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void menusPaintOnlyCardColours_data();
    void menusPaintOnlyCardColours();
    void keyStepsOutsideTheCodeFields();
    void paintFollowsTheModel_data();
    void paintFollowsTheModel();
    void paletteSectorsOnly();
    void checkListsConfusedPairs();

private:
    QAction *seeAsEntry(QWidget *on, const QString &text);
};

void VisionWindowTest::init()
{
    createFolder(visionCard());
    m_folder->addCollectionRows({{"5327", ProgramFolder::codeFor(1, 2)}});
    QVERIFY(openWindow());
    m_form->pageMove(1);
}

void VisionWindowTest::cleanup()
{
    // The choice lasts for the run: a test's choice must not reach the next.
    CardPaint::setVision({});
    WindowFixture::cleanup();
}

QAction *VisionWindowTest::seeAsEntry(QWidget *on, const QString &text)
{
    QMenu *menu = WindowDriver::openContextMenu(on);
    if (!menu)
        return nullptr;
    QAction *seeAs = WindowDriver::menuEntry(menu, QStringLiteral("See as"));
    if (!seeAs || !seeAs->menu())
        return nullptr;
    if (QAction *found = WindowDriver::menuEntry(seeAs->menu(), text))
        return found;
    QAction *severity = WindowDriver::menuEntry(seeAs->menu(), QStringLiteral("Severity"));
    return severity && severity->menu() ? WindowDriver::menuEntry(severity->menu(), text) : nullptr;
}

void VisionWindowTest::menusPaintOnlyCardColours_data()
{
    QTest::addColumn<QStringList>("choices");
    QTest::addColumn<QString>("notice");
    QTest::addColumn<QRgb>("pink");
    // Pink 187, 101, 114 as colorspacious's Machado et al. (2009) sees it,
    // clipped in linear light; achromatopsia: its luminance Y.
    QTest::newRow("protanopia") << QStringList{"Protanopia"} << "Seen as protanopia" << qRgb(117, 116, 114);
    QTest::newRow("deuteranopia") << QStringList{"Deuteranopia"} << "Seen as deuteranopia" << qRgb(139, 133, 112);
    QTest::newRow("deuteranomaly 0.3") << QStringList{"Deuteranopia", "0.3"} << "Seen as deuteranomaly 0.3"
                                       << qRgb(164, 117, 113);
    QTest::newRow("tritanopia") << QStringList{"Tritanopia"} << "Seen as tritanopia" << qRgb(201, 92, 106);
    QTest::newRow("achromatopsia") << QStringList{"Achromatopsia"} << "Seen as achromatopsia" << qRgb(127, 127, 127);
}

void VisionWindowTest::menusPaintOnlyCardColours()
{
    QFETCH(QStringList, choices);
    QFETCH(QString, notice);
    QFETCH(QRgb, pink);
    m_form->pagecolor_Click(2);
    Swatch *swatch = m_form->pagecolor(2);
    const QRgb card = qRgb(187, 101, 114);
    QCOMPARE(paintedOf(swatch), card);
    const QRgb windowBack = paintedOf(m_form->tart_pb(0));
    const QString name = QAccessible::queryAccessibleInterface(swatch)->text(QAccessible::Name);

    for (const QString &choice : choices) {
        QAction *item = seeAsEntry(swatch, choice);
        QVERIFY2(item, qPrintable(choice));
        item->trigger();
        closeMenus();
    }
    // The card's colours as that eye sees them: swatch, framed colour, the
    // collection's colour; the panel around them as it was.
    QCOMPARE(paintedOf(swatch), pink);
    QCOMPARE(paintedOf(m_form->pagecs()), pink);
    QCOMPARE(paintedOf(m_form->tart_pb(0)), windowBack);
    // What the program keeps and says stays the card's.
    QCOMPARE(swatch->backColor().rgb(), card);
    QCOMPARE(m_form->pagecs()->backColor().rgb(), card);
    QCOMPARE(QAccessible::queryAccessibleInterface(swatch)->text(QAccessible::Name), name);
    // Said, standing, in the notice place and to a screen reader.
    QCOMPARE(WindowDriver::noticeOf(*m_form), notice);
    QVERIFY2(m_form->accessibleDescription().contains(notice), qPrintable(m_form->accessibleDescription()));
    // The collection shows its colour the same way; the menu marks the choice.
    QTest::keyClick(m_form.get(), Qt::Key_2, Qt::ControlModifier);
    QTRY_COMPARE(paintedOf(m_form->baby_color()), pink);
    QAction *checked = seeAsEntry(m_form->baby_color(), choices.first());
    QVERIFY(checked && checked->isChecked());
    // Back to normal vision: nothing standing, the card's own paint.
    QAction *normal = seeAsEntry(m_form->baby_color(), QStringLiteral("Normal vision"));
    QVERIFY(normal);
    normal->trigger();
    closeMenus();
    QCOMPARE(paintedOf(m_form->baby_color()), card);
    QVERIFY(WindowDriver::noticeOf(*m_form).isEmpty());
    QVERIFY(!m_form->accessibleDescription().contains(notice));
}

void VisionWindowTest::paintFollowsTheModel_data()
{
    QTest::addColumn<int>("deficiency");
    QTest::addColumn<double>("severity");
    QTest::addColumn<QRgb>("pink");
    using D = VisionSimulation::Deficiency;
    // Pink 187, 101, 114 through colorspacious (tests/x11/vision.py), at
    // tenths and between them, where the matrices are interpolated.
    const struct
    {
        const char *name;
        D deficiency;
        double severity;
        QRgb seen;
    } rows[] = {
        {"protanomaly 0.3", D::Protanopia, 0.3, qRgb(0xa1, 0x6e, 0x71)},
        {"protanomaly 0.45", D::Protanopia, 0.45, qRgb(0x97, 0x71, 0x71)},
        {"deuteranomaly 0.45", D::Deuteranopia, 0.45, qRgb(0x9d, 0x7a, 0x71)},
        {"tritanomaly 0.3", D::Tritanopia, 0.3, qRgb(0xb5, 0x69, 0x72)},
        {"tritanomaly 0.45", D::Tritanopia, 0.45, qRgb(0xba, 0x66, 0x70)},
        {"tritanopia", D::Tritanopia, 1.0, qRgb(0xc9, 0x5c, 0x6a)},
    };
    for (const auto &row : rows)
        QTest::newRow(row.name) << int(row.deficiency) << row.severity << row.seen;
}

void VisionWindowTest::paintFollowsTheModel()
{
    QFETCH(int, deficiency);
    QFETCH(double, severity);
    QFETCH(QRgb, pink);
    CardPaint::setVision({VisionSimulation::Deficiency(deficiency), severity});
    const QRgb got = paintedOf(m_form->pagecolor(2));
    for (int shift : {0, 8, 16})
        QVERIFY2(std::abs(int((got >> shift) & 0xff) - int((pink >> shift) & 0xff)) <= 1,
                 qPrintable(QColor(got).name() + " for " + QColor(pink).name()));
}

void VisionWindowTest::keyStepsOutsideTheCodeFields()
{
    // Inside a code field every key keeps the field's rules: nothing changes.
    m_form->findcode_txt1()->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(WindowDriver::focus(), static_cast<QWidget *>(m_form->findcode_txt1()));
    WindowDriver::key(Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(CardPaint::vision().deficiency == VisionSimulation::Deficiency::None);
    QVERIFY(WindowDriver::noticeOf(*m_form).isEmpty());
    // On the card the key steps to the next vision, and round again.
    m_form->pagecolor_Click(2);
    const QStringList steps = {"Seen as protanopia", "Seen as deuteranopia", "Seen as tritanopia",
                               "Seen as achromatopsia", ""};
    m_form->tart_pb(0)->setFocus(Qt::TabFocusReason);
    for (const QString &step : steps) {
        WindowDriver::key(Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(WindowDriver::noticeOf(*m_form), step);
    }
    QCOMPARE(paintedOf(m_form->pagecolor(2)), qRgb(187, 101, 114));
}

void VisionWindowTest::paletteSectorsOnly()
{
    // Sector 1's fill, #dc68ab, where it is painted whole; the card tab's
    // shading beside it.
    QWidget *palette = m_form->palettac();
    const QImage before = palette->grab().toImage();
    QPoint inSector(-1, -1);
    for (int y = 0; y < before.height() && inSector.x() < 0; ++y)
        for (int x = 0; x < before.width(); ++x)
            if (before.pixel(x, y) == qRgb(220, 104, 171) && before.pixel(x + 1, y) == qRgb(220, 104, 171)) {
                inSector = QPoint(x, y);
                break;
            }
    QVERIFY2(inSector.x() >= 0, "sector 1 is not painted in its colour");
    const QPoint onTab(10, 10);
    m_form->pagecolor_Click(1);
    QAction *item = seeAsEntry(m_form->pagecolor(1), QStringLiteral("Protanopia"));
    QVERIFY(item);
    item->trigger();
    closeMenus();
    const QImage after = palette->grab().toImage();
    // colorspacious's protanopia of 220, 104, 171.
    QCOMPARE(after.pixel(inSector), qRgb(115, 132, 173));
    QCOMPARE(after.pixel(onTab), before.pixel(onTab));
}

void VisionWindowTest::checkListsConfusedPairs()
{
    const auto openCheck = [this]() -> VisionCheckDialog * {
        QTest::keyClick(m_form.get(), Qt::Key_2, Qt::ControlModifier);
        QMenu *menu = WindowDriver::openContextMenu(m_form->baby_color());
        QAction *check = menu ? WindowDriver::menuEntry(menu, QStringLiteral("Check for colour-blind viewers\u2026")) : nullptr;
        if (!check)
            return nullptr;
        check->trigger();
        closeMenus();
        return m_form->findChild<VisionCheckDialog *>();
    };
    // The pink alone confuses nothing: said so, no list.
    VisionCheckDialog *alone = openCheck();
    QVERIFY(alone);
    QVERIFY(!alone->list()->isVisibleTo(alone));
    QVERIFY(alone->findChild<QLabel *>()->text().startsWith(QStringLiteral("No two collected colours")));
    alone->close();
    QTRY_VERIFY(!m_form->findChild<VisionCheckDialog *>());

    const QString grey = ProgramFolder::codeFor(1, 1);
    const QString pink = ProgramFolder::codeFor(1, 2);
    const QString olive = ProgramFolder::codeFor(2, 1);
    const QString rust = ProgramFolder::codeFor(3, 1);
    m_folder->addCollectionRows({{"5327", grey}, {"5327", "X9.99.99"}, {"5327", olive}, {"5327", rust}});
    VisionCheckDialog *dialog = openCheck();
    QVERIFY(dialog);
    // Row by row, each read whole by a screen reader, the first current.
    QTreeWidget *list = dialog->list();
    // The reference's differences (colorspacious, scikit-image), as seen and
    // in normal vision; the words give them to a tenth.
    const struct
    {
        QString words;
        double seen;
        double normal;
    } expected[] = {{"Protanopia: " + pink + " and " + grey, 1.20, 23.61},
                    {"Protanopia: " + olive + " and " + rust, 2.72, 12.82},
                    {"Deuteranopia: " + olive + " and " + rust, 0.65, 12.82},
                    {"Achromatopsia: " + olive + " and " + rust, 0.00, 12.82}};
    QCOMPARE(list->topLevelItemCount(), int(std::size(expected)));
    const QRegularExpression said(QStringLiteral("^(.*) look alike, delta E ([0-9.]+) as seen, ([0-9.]+) in normal vision$"));
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QString text = list->topLevelItem(i)->data(0, Qt::AccessibleTextRole).toString();
        const QRegularExpressionMatch m = said.match(text);
        QVERIFY2(m.hasMatch(), qPrintable(text));
        QCOMPARE(m.captured(1), expected[i].words);
        QVERIFY2(std::abs(m.captured(2).toDouble() - expected[i].seen) <= 0.06, qPrintable(text));
        QVERIFY2(std::abs(m.captured(3).toDouble() - expected[i].normal) <= 0.06, qPrintable(text));
    }
    QCOMPARE(list->currentItem(), list->topLevelItem(0));
    QVERIFY(dialog->findChild<QLabel *>()->text().startsWith(QStringLiteral("4 pairs of collected colours look alike")));
    // The selected row's squares are their colours, not tinted by the
    // selection: the pink as it is, 17 by 16.
    QTRY_VERIFY(dialog->isVisible());
    QVERIFY(list->selectionModel()->isRowSelected(0, QModelIndex()));
    QVERIFY(RowPixels::count(list, 0, QColor(187, 101, 114)) >= 17 * 16);
    // The export: a header and a row a pair, the colours as they are and seen.
    const QStringList csv = QString::fromUtf8(dialog->csv()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(csv.size(), 5);
    QCOMPARE(csv[0], QStringLiteral("vision,code_1,code_2,hex_1,hex_2,seen_hex_1,seen_hex_2,delta_e_seen,delta_e_normal"));
    QVERIFY2(csv[1].startsWith("protanopia," + pink + "," + grey + ",#bb6572,#747474,#757472,"), qPrintable(csv[1]));
    dialog->close();
}

class VisionTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void checkVision_data();
    void checkVision();
    void badArguments_data();
    void badArguments();
    void unreadableDatabase();

private:
    std::unique_ptr<ProgramFolder> m_folder;
    QVector<CardRow> m_card;
};


void VisionTest::init()
{
    m_card = visionCard();
    m_folder = std::make_unique<ProgramFolder>();
    m_folder->createDatabase(m_card);
    m_folder->addCollectionRows({{"5327", ProgramFolder::codeFor(1, 1)},
                                 {"5327", ProgramFolder::codeFor(1, 2)},
                                 {"5327", "X9.99.99"},
                                 {"5327", ProgramFolder::codeFor(1, 3)},
                                 {"5327", ProgramFolder::codeFor(2, 1)},
                                 {"5327", ProgramFolder::codeFor(3, 1)}});
}

void VisionTest::checkVision_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("expected");
    const QString grey = ProgramFolder::codeFor(1, 1);
    const QString pink = ProgramFolder::codeFor(1, 2);
    const QString olive = ProgramFolder::codeFor(2, 1);
    const QString rust = ProgramFolder::codeFor(3, 1);
    // Kind, codes and the reference's two differences: as seen, as they are.
    QTest::newRow("the collection; an entry without colour left out")
        << QStringList{"--check-vision"}
        << QStringList{"protanopia " + grey + " " + pink + " 1.20 23.61",
                       "protanopia " + olive + " " + rust + " 2.72 12.82",
                       "deuteranopia " + olive + " " + rust + " 0.65 12.82",
                       "achromatopsia " + olive + " " + rust + " 0.00 12.82"};
    QTest::newRow("the card: only colours on one page")
        << QStringList{"--check-vision", "--card"}
        << QStringList{"protanopia " + grey + " " + pink + " 1.20 23.61"};
}

void VisionTest::checkVision()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, expected);
    const Run run = tesselle(*m_folder, arguments);
    QCOMPARE(run.code, 0);
    const QVector<Line> lines = linesOf(run.out);
    QCOMPARE(lines.size(), expected.size());
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList e = expected[i].split(QLatin1Char(' '));
        const Line &got = lines[i];
        QCOMPARE(got.kind, e[0]);
        QCOMPARE(got.first, e[1]);
        QCOMPARE(got.second, e[2]);
        // Printed to a tenth.
        QVERIFY2(std::abs(got.seen - e[3].toDouble()) <= 0.06, qPrintable(run.out));
        QVERIFY2(std::abs(got.normal - e[4].toDouble()) <= 0.06, qPrintable(run.out));
    }
}

void VisionTest::badArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("said");
    QTest::newRow("--see-as without --export") << QStringList{"--see-as", "deuteranopia"} << "--see-as goes with --export";
    QTest::newRow("--see-as with a palette") << QStringList{"--export", "x.gpl", "--see-as", "deuteranopia"}
                                             << "--see-as goes with --export";
    QTest::newRow("--see-as an unknown vision") << QStringList{"--export", "x.pdf", "--see-as", "purple"}
                                                << "--see-as takes protanopia";
    QTest::newRow("--see-as a severity beyond 1") << QStringList{"--export", "x.pdf", "--see-as", "protanopia:1.5"}
                                                  << "--see-as takes protanopia";
    QTest::newRow("--see-as achromatopsia with a severity")
        << QStringList{"--export", "x.pdf", "--see-as", "achromatopsia:0.5"} << "--see-as takes protanopia";
    QTest::newRow("--check-vision with --import") << QStringList{"--check-vision", "--import", "x.gpl"}
                                                  << "--check-vision goes alone";
}

void VisionTest::badArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, said);
    const Run run = tesselle(*m_folder, arguments);
    QCOMPARE(run.code, 2);
    QVERIFY2(run.err.contains(said), qPrintable(run.err));
    QVERIFY(!QFile::exists(m_folder->path() + QStringLiteral("/x.pdf")));
}

void VisionTest::unreadableDatabase()
{
    const Run run = ProgramRun::run(*m_folder, {QStringLiteral("--database"), m_folder->path() + "/none.db",
                                                QStringLiteral("--check-vision")},
                                    ProgramRun::Options{ProgramRun::Display::None});
    QCOMPARE(run.code, 1);
    QVERIFY(run.out.isEmpty());
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    VisionWindowTest window;
    VisionTest commandLine;
    return QTest::qExec(&window, argc, argv) | QTest::qExec(&commandLine, argc, argv);
}
#include "test_vision.moc"
