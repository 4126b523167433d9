// SPDX-License-Identifier: MIT
// Start-up, the first page and the page view: a real window over a small
// card whose pages have gaps and uneven rows.
#include "WindowFixture.h"
#include "ProgramFolder.h"

#include "TestWindow.h"
#include "card/CardPanel.h"
#include "app/Layout.h"
#include "widgets/PictureBox.h"
#include "widgets/TextBox.h"
#include "widgets/MovieControl.h"
#include "widgets/Swatch.h"

#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QTest>

#include <memory>

namespace {

// Pages 1 (rows 1-3), 2 (rows 2, 5, 9), 5 (8 rows), 6 (3 rows) and 37
// (1 row): the highest page is 37 although most pages below it are empty.
QVector<CardRow> gappyCard()
{
    QVector<CardRow> rows;
    int sn = 0;
    auto add = [&](int page, std::initializer_list<int> rowNumbers) {
        for (int row : rowNumbers)
            rows.append(ProgramFolder::rowFor(++sn, page, row));
    };
    add(1, {1, 2, 3});
    add(2, {9, 2, 5});  // stored out of order on purpose
    add(5, {1, 2, 3, 4, 5, 6, 7, 8});
    add(6, {1, 2, 3});
    add(37, {1});
    return rows;
}

QColor colourOf(const CardRow &row)
{
    return QColor(row.r, row.g, row.b);
}

// Twips as the layout measures them, from a widget's pixel geometry.
int twips(int pixels)
{
    return pixels * Layout::twipsPerPixel;
}

} // namespace

class StartupTest : public WindowFixture
{
    Q_OBJECT

private slots:
    void init();

    void stateAfterStartUp();
    void entryBoxesAndCaptions();
    void moviePathsUnderProgramFolder();
    void swatchGeometry_data();
    void swatchGeometry();
    void rowGapsKeepOrder();
    void moveFromEightRowsToThree();
    void moveToSamePageRebuildsAndClearsSelection();
    void pageDispFramesSwatch();
    void emptyPageThenAnother();
    void swatchPixelsShowTheirColours();

private:
};

void StartupTest::init()
{
    createFolder(gappyCard());
    QVERIFY(openWindow(false));
}

void StartupTest::stateAfterStartUp()
{
    TestWindow &f = *m_form;
    QCOMPARE(f.pagenx().toInt(), 37);
    QCOMPARE(f.ccc(), QStringLiteral("5327"));
    QCOMPARE(f.lang(), QStringLiteral("eueng"));
    QCOMPARE(f.icode_char(), qint16(0));
    QCOMPARE(f.color_a(), QString());
    QVERIFY(f.baby_max().isNull());
    QCOMPARE(f.pagen_text()->text(), QStringLiteral("1"));
    QVERIFY(f.pageselect()->isHidden());
    QCOMPARE(f.cardPanel()->pagecolorIndexes(), QList<int>({0, 1, 2, 3}));
    // The collection panel keeps its layout contents until it is shown.
    QCOMPARE(f.baby_code()->text(), QStringLiteral("K8.04.43"));
    QCOMPARE(f.baby_nummax()->text(), QStringLiteral("/888"));
}

void StartupTest::entryBoxesAndCaptions()
{
    TestWindow &f = *m_form;
    QCOMPARE(f.pagen_text()->backColor(), QColor(230, 230, 230));
    for (TextBox *field : {f.findcode_txt1(), f.findcode_txt2(), f.findcode_txt3()})
        QCOMPARE(field->backColor(), QColor(238, 238, 238));
    QCOMPARE(f.baby_code()->backColor(), QColor(230, 230, 230));
    QCOMPARE(f.baby_num()->backColor(), QColor(230, 230, 230));
    QCOMPARE(f.e_label(1)->text(), QStringLiteral("Page No.:"));
    QCOMPARE(f.e_label(2)->text(), QStringLiteral("Enter Code"));
}

void StartupTest::moviePathsUnderProgramFolder()
{
    TestWindow &f = *m_form;
    const QDir folder(m_folder->path());
    QCOMPARE(f.intro_swf()->movie(), folder.filePath(QStringLiteral("swf/borit.svg")));
    QCOMPARE(f.palettac()->movie(), folder.filePath(QStringLiteral("swf/kor.svg")));
    QCOMPARE(f.next_swf()->movie(), f.nextb_swf()->movie());
    QCOMPARE(f.previous_swf()->movie(), f.previousb_swf()->movie());
    QCOMPARE(f.next_swf()->movie(), folder.filePath(QStringLiteral("swf/n.svg")));
    QCOMPARE(f.previous_swf()->movie(), folder.filePath(QStringLiteral("swf/p.svg")));
    QCOMPARE(f.addtobaby_swf()->movie(), folder.filePath(QStringLiteral("swf/addtb.svg")));
    QCOMPARE(f.deleteb_swf()->movie(), folder.filePath(QStringLiteral("swf/del.svg")));
    QVERIFY(f.intro_swf()->isLoaded());
    QVERIFY(!f.intro_swf()->play());
    QVERIFY(f.palettac()->play());
}

void StartupTest::swatchGeometry_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("topTwips");

    QTest::newRow("page 1, swatch 1") << 1 << 1 << 45;
    QTest::newRow("page 1, swatch 2") << 1 << 2 << 690;
    QTest::newRow("page 1, swatch 3") << 1 << 3 << 1335;
    QTest::newRow("page 5, swatch 8") << 5 << 8 << 4560;
}

void StartupTest::swatchGeometry()
{
    QFETCH(int, page);
    QFETCH(int, index);
    QFETCH(int, topTwips);

    m_form->pageMove(page);
    Swatch *swatch = m_form->pagecolor(index);
    QVERIFY(swatch);
    QCOMPARE(twips(swatch->x()), 105);
    QCOMPARE(twips(swatch->y()), topTwips);
    QCOMPARE(twips(swatch->width()), 1905);
    QCOMPARE(twips(swatch->height()), 600);
    QVERIFY(!swatch->isHidden());
    QVERIFY(swatch->isEnabled());
    QCOMPARE(swatch->toolTip(), ProgramFolder::codeFor(page, index));
    QCOMPARE(swatch->backColor(), colourOf(ProgramFolder::rowFor(0, page, index)));
    if (index == 8)
        QCOMPARE(twips(swatch->geometry().bottom() + 1), 5160);
}

void StartupTest::rowGapsKeepOrder()
{
    m_form->pageMove(2);
    QCOMPARE(m_form->cardPanel()->pagecolorIndexes(), QList<int>({0, 1, 2, 3}));
    const int rows[] = {2, 5, 9};
    for (int i = 1; i <= 3; ++i) {
        QCOMPARE(m_form->pagecolor(i)->toolTip(), ProgramFolder::codeFor(2, rows[i - 1]));
        QCOMPARE(twips(m_form->pagecolor(i)->y()), 45 + 645 * (i - 1));
    }
}

void StartupTest::moveFromEightRowsToThree()
{
    m_form->pageMove(5);
    QCOMPARE(m_form->cardPanel()->pagecolorIndexes().size(), 9);
    m_form->pageMove(6);
    QCOMPARE(m_form->cardPanel()->pagecolorIndexes(), QList<int>({0, 1, 2, 3}));
    // No swatch of the old page survives anywhere in the window.
    QCOMPARE(m_form->findChildren<Swatch *>().size(), 4);
    QCOMPARE(m_form->pagen_text()->text(), QStringLiteral("6"));
    // The template stays as it was laid out.
    Swatch *templ = m_form->pagecolor(0);
    QVERIFY(templ->isHidden());
    QVERIFY(!templ->isEnabled());
    QCOMPARE(templ->backColor(), QColor(255, 128, 128));
}

void StartupTest::moveToSamePageRebuildsAndClearsSelection()
{
    m_form->pagecolor_Click(2);
    QCOMPARE(m_form->color_a(), ProgramFolder::codeFor(1, 2));
    QVERIFY(!m_form->pageselect()->isHidden());
    QPointer<Swatch> before = m_form->pagecolor(1);
    m_form->pageMove(1);
    QVERIFY(m_form->pageselect()->isHidden());
    QCOMPARE(m_form->color_a(), QString());
    QVERIFY(before.isNull());  // removed and created afresh
    QCOMPARE(m_form->findChildren<Swatch *>().size(), 4);
}

void StartupTest::pageDispFramesSwatch()
{
    m_form->pageDisp(2);
    QVERIFY(!m_form->pageselect()->isHidden());
    QCOMPARE(twips(m_form->pageselect()->x()), 75);
    QCOMPARE(twips(m_form->pageselect()->y()), 660);
    QCOMPARE(twips(m_form->pageselect()->width()), 1965);
    QCOMPARE(twips(m_form->pageselect()->height()), 660);
    QCOMPARE(m_form->pageselect()->backColor(), QColor(Qt::black));
    QCOMPARE(m_form->pagecs()->backColor(), m_form->pagecolor(2)->backColor());
    // pagecs lies exactly over the swatch.
    const QPoint csOnPanel = m_form->pagecs()->mapTo(m_form->tart_pb(0), QPoint(0, 0));
    QCOMPARE(QRect(csOnPanel, m_form->pagecs()->size()), m_form->pagecolor(2)->geometry());
    // An index with no swatch selects nothing.
    m_form->pageMove(1);
    m_form->pageDisp(7);
    QVERIFY(m_form->pageselect()->isHidden());
}

void StartupTest::emptyPageThenAnother()
{
    m_form->pageMove(20);
    QCOMPARE(m_form->cardPanel()->pagecolorIndexes(), QList<int>({0}));
    QCOMPARE(m_form->pagen_text()->text(), QStringLiteral("20"));
    QVERIFY(m_form->pageselect()->isHidden());
    m_form->pageMove(37);
    QCOMPARE(m_form->cardPanel()->pagecolorIndexes(), QList<int>({0, 1}));
    QCOMPARE(m_form->pagen_text()->text(), QStringLiteral("37"));
}

void StartupTest::swatchPixelsShowTheirColours()
{
    m_form->intro_swf()->hide();
    m_form->pageMove(5);
    const QImage panel = m_form->tart_pb(0)->grab().toImage();
    for (int i = 1; i <= 8; ++i) {
        const QColor expected = colourOf(ProgramFolder::rowFor(0, 5, i));
        const QRect r = m_form->pagecolor(i)->geometry();
        for (const QPoint &p : {r.topLeft(), r.center(), r.bottomRight()})
            QCOMPARE(panel.pixelColor(p), expected);
        // The white gap below each swatch belongs to the panel picture.
        QCOMPARE(panel.pixelColor(r.left() + 5, r.bottom() + 2), QColor(Qt::white));
    }
}

QTEST_MAIN(StartupTest)
#include "test_startup.moc"
