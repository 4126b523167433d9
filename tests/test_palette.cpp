// SPDX-License-Identifier: MIT
// The palette: its empty command brings the collection panel forward, the
// card number brings the card panel back, and the 24 sectors move the card
// panel's page; anything else changes nothing. The card has 150 pages, so
// some sectors lead beyond its highest page.
#include "WindowFixture.h"
#include "FailureRecorder.h"
#include "ProgramFolder.h"
#include "WindowDriver.h"

#include "TestWindow.h"
#include "card/CardPanel.h"
#include "widgets/PictureBox.h"
#include "widgets/TextBox.h"
#include "widgets/MovieControl.h"
#include "widgets/Swatch.h"

#include <QTest>

#include <memory>

namespace {

constexpr int cardPages = 150;
constexpr int rowsPerPage = 2;

// The page each sector leads to, as the palette movie paints it.
const int sectorPages[24] = {109, 90,  70,  50,  35,  22,  10,  5,   200, 197, 194, 190,
                             186, 179, 172, 165, 157, 151, 145, 140, 139, 129, 122, 115};

} // namespace

class PaletteTest : public WindowFixture
{
    Q_OBJECT

private slots:
    void init();

    void command_data();
    void command();
    void everySector_data();
    void everySector();

private:
    // "card" or "collection": which panel stands in front, checked for
    // consistency (the front one shown and enabled, the other hidden and
    // disabled); "mixed" otherwise.
    QString front() const;
    // The page whose swatches stand in the column, read from the swatches.
    int pageInColumn() const;

    QStringList m_collection;
};

void PaletteTest::init()
{
    createFolder(ProgramFolder::card(cardPages, rowsPerPage));
    m_collection = {ProgramFolder::codeFor(4, 1), ProgramFolder::codeFor(8, 2),
                    ProgramFolder::codeFor(12, 1)};
    QVector<QPair<QString, QString>> rows;
    for (const QString &code : m_collection)
        rows.append({QStringLiteral("5327"), code});
    m_folder->addCollectionRows(rows);
    QVERIFY(openWindow());
}

QString PaletteTest::front() const
{
    PictureBox *card = m_form->tart_pb(0);
    PictureBox *collection = m_form->tart_pb(1);
    if (card->isVisible() && card->isEnabled() && collection->isHidden() && !collection->isEnabled())
        return QStringLiteral("card");
    if (collection->isVisible() && collection->isEnabled() && card->isHidden() && !card->isEnabled())
        return QStringLiteral("collection");
    return QStringLiteral("mixed");
}

int PaletteTest::pageInColumn() const
{
    Swatch *first = m_form->pagecolor(1);
    if (!first)
        return 0;
    const QString code = first->toolTip();  // Tp.PP.RR
    return code.mid(1, 1).toInt() * 100 + code.mid(3, 2).toInt();
}

void PaletteTest::command_data()
{
    QTest::addColumn<QString>("start");    // panel in front before the command
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("frontAfter");
    QTest::addColumn<int>("pageAfter");    // 0: the page stays as it was
    QTest::addColumn<bool>("firstEntry");  // the collection went back to entry 1

    QTest::newRow("empty from card") << "card" << "" << "collection" << 0 << true;
    QTest::newRow("empty again") << "collection" << "" << "collection" << 0 << true;
    QTest::newRow("5327") << "collection" << "5327" << "card" << 0 << false;
    QTest::newRow("05327") << "collection" << "05327" << "card" << 0 << false;
    QTest::newRow("blank 5327") << "collection" << " 5327" << "card" << 0 << false;
    QTest::newRow("5327 with card in front") << "card" << "5327" << "card" << 0 << false;
    QTest::newRow("sector 1") << "card" << "1" << "card" << 109 << false;
    QTest::newRow("sector 24") << "card" << "24" << "card" << 115 << false;
    QTest::newRow("blank 7") << "card" << " 7" << "card" << 10 << false;
    QTest::newRow("07") << "card" << "07" << "card" << 10 << false;
    // A sector changes the card panel's page behind the collection panel.
    QTest::newRow("sector 3 behind collection") << "collection" << "3" << "collection" << 70 << false;
    QTest::newRow("0") << "card" << "0" << "card" << 0 << false;
    QTest::newRow("25") << "card" << "25" << "card" << 0 << false;
    QTest::newRow("-3") << "card" << "-3" << "card" << 0 << false;
    QTest::newRow("1.5") << "card" << "1.5" << "card" << 0 << false;
    QTest::newRow("5327.5") << "collection" << "5327.5" << "collection" << 0 << false;
    QTest::newRow("word") << "card" << "sector" << "card" << 0 << false;
    QTest::newRow("word, collection") << "collection" << "kor" << "collection" << 0 << false;
}

void PaletteTest::command()
{
    QFETCH(QString, start);
    QFETCH(QString, command);
    QFETCH(QString, frontAfter);
    QFETCH(int, pageAfter);
    QFETCH(bool, firstEntry);

    // A page with a selected swatch: a page load would drop the selection.
    m_form->pageMove(33);
    Swatch *swatch = m_form->pagecolor(2);
    QVERIFY(swatch);
    WindowDriver::clickThroughWindow(swatch, swatch->rect().center());
    const QString selected = ProgramFolder::codeFor(33, 2);
    QCOMPARE(m_form->color_a(), selected);

    // The collection panel rests on its last entry, so that a fresh babyDef
    // shows.
    emit m_form->palettac()->FSCommand(QString(), QString());
    emit m_form->previousb_swf()->FSCommand(QString(), QString());
    QCOMPARE(m_form->baby_code()->text(), m_collection.last());
    if (start == QLatin1String("card"))
        emit m_form->palettac()->FSCommand(QStringLiteral("5327"), QString());
    QCOMPARE(front(), start);

    emit m_form->palettac()->FSCommand(command, QStringLiteral("ignored"));

    QCOMPARE(front(), frontAfter);
    if (pageAfter == 0) {
        QCOMPARE(m_form->pagen_text()->text(), QStringLiteral("33"));
        QCOMPARE(pageInColumn(), 33);
        QCOMPARE(m_form->color_a(), selected);
        QVERIFY(!m_form->pageselect()->isHidden());
    } else {
        QCOMPARE(m_form->pagen_text()->text(), QString::number(pageAfter));
        QCOMPARE(pageInColumn(), pageAfter);
        QCOMPARE(m_form->color_a(), QString());
        QVERIFY(m_form->pageselect()->isHidden());
    }
    const QString entryAfter = firstEntry ? m_collection.first() : m_collection.last();
    QCOMPARE(m_form->baby_code()->text(), entryAfter);
    QCOMPARE(m_form->baby_num()->text(), firstEntry ? QStringLiteral("1") : QStringLiteral("3"));
}

void PaletteTest::everySector_data()
{
    QTest::addColumn<int>("sector");
    QTest::addColumn<int>("page");
    for (int s = 1; s <= 24; ++s)
        QTest::addRow("sector %d", s) << s << sectorPages[s - 1];
}

void PaletteTest::everySector()
{
    QFETCH(int, sector);
    QFETCH(int, page);

    m_form->pageMove(1);
    // The panels as start-up left them.
    auto panels = [this] {
        return QList<bool>{m_form->tart_pb(0)->isVisible(), m_form->tart_pb(0)->isEnabled(),
                           m_form->tart_pb(1)->isVisible(), m_form->tart_pb(1)->isEnabled()};
    };
    const QList<bool> before = panels();
    QVERIFY(m_form->tart_pb(0)->isVisible());
    emit m_form->palettac()->FSCommand(QString::number(sector), QString());

    QCOMPARE(panels(), before);
    // A page beyond the card's highest page is still loaded: an empty column.
    QCOMPARE(m_form->pagen_text()->text(), QString::number(page));
    const bool onCard = page <= cardPages;
    QCOMPARE(m_form->cardPanel()->swatchCount(), onCard ? rowsPerPage : 0);
    if (onCard)
        QCOMPARE(pageInColumn(), page);
}

QTEST_MAIN(PaletteTest)
#include "test_palette.moc"
