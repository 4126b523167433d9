// SPDX-License-Identifier: MIT
// Page navigation: next and previous with wrap-around, the page-number box,
// and a click on a swatch, on a card whose highest page is 40.
#include "WindowFixture.h"
#include "ProgramFolder.h"
#include "WindowDriver.h"

#include "TestWindow.h"
#include "card/CardPanel.h"
#include "widgets/PictureBox.h"
#include "widgets/TextBox.h"
#include "widgets/MovieControl.h"
#include "widgets/Swatch.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include <memory>

class NavigationTest : public WindowFixture
{
    Q_OBJECT

private slots:
    void init();

    void wrapAndBounds_data();
    void wrapAndBounds();
    void everyCommandMovesOnePage();
    void keyFilter_data();
    void keyFilter();
    void swatchClickFillsCodeFields();
    void clickOnSelectedSwatchReachesIt();
    void screenShowsEachPageAsDrawnAfresh();

private:
    // The page whose swatches stand in the column, read from the swatches.
    int pageInColumn() const;

};

void NavigationTest::init()
{
    createFolder(ProgramFolder::card(40, 3));
    QVERIFY(openWindow());
}

int NavigationTest::pageInColumn() const
{
    Swatch *first = m_form->pagecolor(1);
    if (!first)
        return 0;
    const QString code = first->toolTip();  // Tp.PP.RR
    return code.mid(1, 1).toInt() * 100 + code.mid(3, 2).toInt();
}

void NavigationTest::wrapAndBounds_data()
{
    QTest::addColumn<int>("shown");
    QTest::addColumn<QString>("edited");   // typed into the box, not confirmed
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("boxAfter");
    QTest::addColumn<int>("swatches");

    QTest::newRow("last, next wraps") << 40 << "" << "next" << "1" << 3;
    QTest::newRow("first, previous wraps") << 1 << "" << "previous" << "40" << 3;
    QTest::newRow("17 next") << 17 << "" << "next" << "18" << 3;
    QTest::newRow("17 previous") << 17 << "" << "previous" << "16" << 3;
    QTest::newRow("edited 0, next") << 5 << "0" << "next" << "1" << 3;
    QTest::newRow("edited 0, previous") << 5 << "0" << "previous" << "40" << 3;
    QTest::newRow("edited 0, Enter") << 5 << "0" << "enter" << "1" << 3;
    QTest::newRow("edited 99, Enter") << 5 << "99" << "enter" << "40" << 3;
    QTest::newRow("edited 99, next") << 5 << "99" << "next" << "1" << 3;
    // Previous tests only the lower bound: page 98 has no rows.
    QTest::newRow("edited 99, previous") << 5 << "99" << "previous" << "98" << 0;
    QTest::newRow("edited 007, Enter") << 5 << "007" << "enter" << "7" << 3;
    QTest::newRow("edited 12, Enter") << 5 << "12" << "enter" << "12" << 3;
    // An empty box acts from the page shown.
    QTest::newRow("empty, Enter") << 9 << "<empty>" << "enter" << "9" << 3;
    QTest::newRow("empty, next") << 9 << "<empty>" << "next" << "10" << 3;
    QTest::newRow("empty, previous") << 9 << "<empty>" << "previous" << "8" << 3;
}

void NavigationTest::wrapAndBounds()
{
    QFETCH(int, shown);
    QFETCH(QString, edited);
    QFETCH(QString, action);
    QFETCH(QString, boxAfter);
    QFETCH(int, swatches);

    m_form->pageMove(shown);
    TextBox *box = m_form->pagen_text();
    box->setFocus();
    if (!edited.isEmpty()) {
        // Edit the box as a person would: clear it, then type.
        box->selectAll();
        WindowDriver::key(Qt::Key_Backspace);
        QCOMPARE(box->text(), QString());
        if (edited != QLatin1String("<empty>"))
            WindowDriver::type(edited);
        QCOMPARE(box->text(), edited == QLatin1String("<empty>") ? QString() : edited);
    }

    if (action == QLatin1String("next"))
        emit m_form->next_swf()->FSCommand(QString(), QString());
    else if (action == QLatin1String("previous"))
        emit m_form->previous_swf()->FSCommand(QString(), QString());
    else
        WindowDriver::key(Qt::Key_Return);

    QCOMPARE(box->text(), boxAfter);
    QCOMPARE(m_form->cardPanel()->swatchCount(), swatches);
    if (swatches > 0)
        QCOMPARE(pageInColumn(), boxAfter.toInt());
    QVERIFY(m_form->pageselect()->isHidden());
    QCOMPARE(m_form->color_a(), QString());
}

void NavigationTest::everyCommandMovesOnePage()
{
    m_form->pageMove(10);
    const QStringList commands = {QString(), QStringLiteral("click"), QStringLiteral("5327"),
                                  QStringLiteral("whatever")};
    for (const QString &command : commands)
        emit m_form->next_swf()->FSCommand(command, QStringLiteral("arg"));
    QCOMPARE(pageInColumn(), 14);
    emit m_form->previous_swf()->FSCommand(QStringLiteral("1"), QString());
    emit m_form->previous_swf()->FSCommand(QStringLiteral("1"), QString());
    QCOMPARE(pageInColumn(), 12);
    // Only the page buttons move the page; the collection's do not.
    emit m_form->nextb_swf()->FSCommand(QString(), QString());
    QCOMPARE(pageInColumn(), 12);
}

void NavigationTest::keyFilter_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("textAfter");

    // The box holds "12" with the cursor at its end.
    QTest::newRow("digit") << int(Qt::Key_5) << "125";
    QTest::newRow("zero") << int(Qt::Key_0) << "120";
    QTest::newRow("backspace") << int(Qt::Key_Backspace) << "1";
    QTest::newRow("letter") << int(Qt::Key_A) << "12";
    QTest::newRow("minus") << int(Qt::Key_Minus) << "12";
    QTest::newRow("point") << int(Qt::Key_Period) << "12";
    QTest::newRow("space") << int(Qt::Key_Space) << "12";
    QTest::newRow("plus") << int(Qt::Key_Plus) << "12";
    QTest::newRow("escape") << int(Qt::Key_Escape) << "12";
    // Keys that produce no character keep their editing effect.
    QTest::newRow("left then digit") << int(Qt::Key_Left) << "172";
    QTest::newRow("home then delete") << int(Qt::Key_Home) << "2";
}

void NavigationTest::keyFilter()
{
    QFETCH(int, key);
    QFETCH(QString, textAfter);

    m_form->pageMove(12);
    TextBox *box = m_form->pagen_text();
    box->setFocus();
    box->end(false);
    WindowDriver::key(key);
    if (key == Qt::Key_Left)
        WindowDriver::key(Qt::Key_7);
    if (key == Qt::Key_Home)
        WindowDriver::key(Qt::Key_Delete);
    QCOMPARE(box->text(), textAfter);
    QCOMPARE(pageInColumn(), 12);  // nothing but Enter moves the page
}

void NavigationTest::swatchClickFillsCodeFields()
{
    m_form->pageMove(23);
    // A failed lookup coloured the fields: a click keeps that colour.
    m_form->findcode_txt1()->setFocus();
    QTRY_COMPARE(WindowDriver::focus(), m_form->findcode_txt1());
    WindowDriver::key(Qt::Key_Return);
    QCOMPARE(m_form->findcode_txt1()->foreColor(), QColor(192, 0, 0));
    QCOMPARE(m_form->icode_char(), qint16(1));
    Swatch *swatch = m_form->pagecolor(2);
    WindowDriver::clickThroughWindow(swatch, swatch->rect().center());

    QCOMPARE(m_form->color_a(), QStringLiteral("T0.23.02"));
    QCOMPARE(m_form->findcode_txt1()->text(), QStringLiteral("T0"));
    QCOMPARE(m_form->findcode_txt2()->text(), QStringLiteral("23"));
    QCOMPARE(m_form->findcode_txt3()->text(), QStringLiteral("02"));
    QCOMPARE(m_form->findcode_txt1()->foreColor(), QColor(192, 0, 0));
    QCOMPARE(m_form->icode_char(), qint16(1));
    QVERIFY(!m_form->pageselect()->isHidden());
    QCOMPARE(m_form->pagecs()->backColor(), swatch->backColor());
    QCOMPARE(m_form->pagen_text()->text(), QStringLiteral("23"));

    // The selected colour stands framed in black on screen.
    const QImage panel = m_form->tart_pb(0)->grab().toImage();
    const QRect r = swatch->geometry();
    QCOMPARE(panel.pixelColor(r.left() - 1, r.center().y()), QColor(Qt::black));
    QCOMPARE(panel.pixelColor(r.center()), swatch->backColor());
}

void NavigationTest::clickOnSelectedSwatchReachesIt()
{
    m_form->pageMove(3);
    Swatch *second = m_form->pagecolor(2);
    WindowDriver::clickThroughWindow(second, second->rect().center());
    QCOMPARE(m_form->color_a(), QStringLiteral("T0.03.02"));
    // Clear the selected code, then click the framed swatch again.
    m_form->color_a().clear();
    m_form->findcode_txt1()->clear();
    WindowDriver::clickThroughWindow(second, second->rect().center());
    QCOMPARE(m_form->color_a(), QStringLiteral("T0.03.02"));
    QCOMPARE(m_form->findcode_txt1()->text(), QStringLiteral("T0"));
    // A click on another swatch moves the selection there.
    Swatch *third = m_form->pagecolor(3);
    WindowDriver::clickThroughWindow(third, third->rect().center());
    QCOMPARE(m_form->color_a(), QStringLiteral("T0.03.03"));
}

void NavigationTest::screenShowsEachPageAsDrawnAfresh()
{
    // Pages of three colours, of one and of none, one after another: what
    // stays on the screen after each move is what the window draws afresh,
    // with no swatch or frame of the page before left behind.
    m_folder->exec(QStringLiteral("delete from \"5327\" where Page = 5 and Row > 1"));
    m_folder->exec(QStringLiteral("delete from \"5327\" where Page = 6"));
    auto onScreen = [this] {
        QCoreApplication::processEvents();
        return QGuiApplication::primaryScreen()->grabWindow(m_form->winId()).toImage().convertToFormat(
            QImage::Format_RGB32);
    };
    auto differingPixels = [this, &onScreen] {
        const QImage screen = onScreen();
        const QImage drawn = m_form->grab().toImage().convertToFormat(QImage::Format_RGB32);
        if (screen.size() != drawn.size())
            return -1;
        int differing = 0;
        for (int y = 0; y < drawn.height(); ++y) {
            for (int x = 0; x < drawn.width(); ++x)
                differing += screen.pixel(x, y) != drawn.pixel(x, y);
        }
        return differing;
    };
    // Each swatch of the page stands on the screen in its own colour.
    auto swatchesMissing = [this, &onScreen] {
        const QImage screen = onScreen();
        int missing = 0;
        for (int row = 1; Swatch *swatch = m_form->pagecolor(row); ++row) {
            const QPoint centre = swatch->mapTo(m_form.get(), swatch->rect().center());
            missing += screen.pixelColor(centre) != swatch->backColor();
        }
        return missing;
    };
    QTRY_COMPARE(differingPixels(), 0);

    m_form->pageMove(4);
    Swatch *third = m_form->pagecolor(3);
    WindowDriver::clickThroughWindow(third, third->rect().center());
    QVERIFY(!m_form->pageselect()->isHidden());
    QTRY_COMPARE(differingPixels(), 0);
    for (int page : {5, 6, 4, 6, 5, 5}) {
        m_form->pageMove(page);
        QCOMPARE(pageInColumn(), page == 6 ? 0 : page);
        QTRY_COMPARE(differingPixels(), 0);
        QCOMPARE(swatchesMissing(), 0);
    }
}

QTEST_MAIN(NavigationTest)

#include "test_navigation.moc"
