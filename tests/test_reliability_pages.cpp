// SPDX-License-Identifier: MIT
// Card rows whose page is no page: numbers beyond any page the window can
// show, text, real numbers, blobs. Paging runs over the whole pages
// between 1 and 2^53 only; a page of many rows shows every one of them.
#include "WindowFixture.h"

#include "card/CardPanel.h"
#include "widgets/MovieControl.h"
#include "widgets/Swatch.h"
#include "widgets/TextBox.h"

#include <QTest>

namespace {

const qint64 largestPage = qint64(1) << 53;

} // namespace

class PagesTest : public WindowFixture
{
    Q_OBJECT

private slots:
    void hostilePageNumbers_data();
    void hostilePageNumbers();
    void pageOfManyRows();
};

void PagesTest::hostilePageNumbers_data()
{
    QTest::addColumn<QStringList>("pages");  // SQL values of the extra rows' Page
    QTest::addColumn<qint64>("pagenx");
    QTest::addColumn<qint64>("from");
    QTest::addColumn<QString>("action");     // next or previous
    QTest::addColumn<QString>("boxAfter");
    QTest::addColumn<int>("swatches");

    // The card has pages 1 to 3, with two colours each.
    const QStringList huge = {QStringLiteral("9223372036854775807")};
    QTest::newRow("2^63 - 1, next from the last") << huge << qint64(3) << qint64(3) << "next" << "1" << 2;
    QTest::newRow("2^63 - 1, previous from the first") << huge << qint64(3) << qint64(1) << "previous" << "3" << 2;
    const QStringList text = {QStringLiteral("'x'")};
    QTest::newRow("text, next from the first") << text << qint64(3) << qint64(1) << "next" << "2" << 2;
    QTest::newRow("text, next from the last") << text << qint64(3) << qint64(3) << "next" << "1" << 2;
    QTest::newRow("text, previous from the first") << text << qint64(3) << qint64(1) << "previous" << "3" << 2;
    QTest::newRow("digits and letters") << QStringList{"'12abc'"} << qint64(3) << qint64(3) << "next" << "1" << 2;
    QTest::newRow("real number") << QStringList{"3.5"} << qint64(3) << qint64(3) << "next" << "1" << 2;
    QTest::newRow("blob") << QStringList{"x'3939'"} << qint64(3) << qint64(1) << "previous" << "3" << 2;
    QTest::newRow("zero and below") << QStringList{"0", "-5"} << qint64(3) << qint64(1) << "previous" << "3" << 2;
    const QStringList edge = {QString::number(largestPage)};
    QTest::newRow("2^53, previous from the first")
        << edge << largestPage << qint64(1) << "previous" << QString::number(largestPage) << 1;
    QTest::newRow("2^53, next from it") << edge << largestPage << largestPage << "next" << "1" << 2;
    QTest::newRow("2^53, previous from it")
        << edge << largestPage << largestPage << "previous" << QString::number(largestPage - 1) << 0;
    QTest::newRow("2^53 + 1") << QStringList{QString::number(largestPage + 1)} << qint64(3) << qint64(1)
                              << "previous" << "3" << 2;
    QTest::newRow("every kind at once")
        << QStringList{"'x'", "3.5", "x'00'", "-1", "9223372036854775807", QString::number(largestPage + 1), "12"}
        << qint64(12) << qint64(12) << "next" << "1" << 2;
}

void PagesTest::hostilePageNumbers()
{
    QFETCH(QStringList, pages);
    QFETCH(qint64, pagenx);
    QFETCH(qint64, from);
    QFETCH(QString, action);
    QFETCH(QString, boxAfter);
    QFETCH(int, swatches);

    createFolder(ProgramFolder::card(3, 2));
    int sn = 100;
    for (const QString &page : pages) {
        ++sn;
        m_folder->exec(QStringLiteral("insert into \"5327\" (Sn, Page, Row, Code, R, G, B) "
                                      "values (%1, %2, 1, 'H%1', 1, 2, 3)")
                           .arg(sn)
                           .arg(page));
    }
    QVERIFY(openWindow());
    QCOMPARE(m_form->pagenx().toLongLong(), pagenx);

    m_form->pageMove(from);
    if (action == QLatin1String("next"))
        emit m_form->next_swf()->FSCommand(QString(), QString());
    else
        emit m_form->previous_swf()->FSCommand(QString(), QString());
    QCOMPARE(m_form->pagen_text()->text(), boxAfter);
    QCOMPARE(m_form->cardPanel()->swatchCount(), swatches);
}

void PagesTest::pageOfManyRows()
{
    constexpr int rows = 20000;
    QVector<CardRow> card = ProgramFolder::card(2, 8);
    for (int row = 1; row <= rows; ++row)
        card.append(ProgramFolder::rowFor(100 + row, 3, row));
    createFolder(card);
    QVERIFY(openWindow());

    m_form->pageMove(3);
    QCOMPARE(m_form->cardPanel()->swatchCount(), rows);
    for (int row : {1, 50, 51, rows}) {
        Swatch *swatch = m_form->pagecolor(row);
        QVERIFY(swatch);
        const CardRow expected = ProgramFolder::rowFor(0, 3, row);
        QCOMPARE(swatch->toolTip(), expected.code);
        QCOMPARE(swatch->backColor(), QColor(expected.r, expected.g, expected.b));
    }
    m_form->pagecolor_Click(rows);
    QCOMPARE(m_form->color_a(), ProgramFolder::rowFor(0, 3, rows).code);

    // The next page replaces every one of them.
    emit m_form->next_swf()->FSCommand(QString(), QString());
    QCOMPARE(m_form->pagen_text()->text(), QStringLiteral("1"));
    QCOMPARE(m_form->cardPanel()->swatchCount(), 8);
    int standing = 0;
    for (Swatch *s : m_form->tart_pb(0)->findChildren<Swatch *>())
        standing += s->isHidden() ? 0 : 1;
    QCOMPARE(standing, 8);
}

QTEST_MAIN(PagesTest)
#include "test_reliability_pages.moc"
