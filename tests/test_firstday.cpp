// SPDX-License-Identifier: MIT
// What a new user meets in a day's work: the collection's buttons on every
// road from an empty collection to a filled one while the panel is in
// front, context menus that act on what they were opened on, undo and redo
// said in the menus, and About.
#include "collection/ImportPreviewDialog.h"
#include "WindowFixture.h"
#include "WindowDriver.h"

#include "TestWindow.h"
#include "app/AboutBox.h"
#include "app/FindColourDialog.h"
#include "card/CardPanel.h"
#include "collection/CollectionPanel.h"
#include "widgets/CopyMenu.h"
#include "widgets/MovieControl.h"
#include "widgets/PictureBox.h"
#include "widgets/Swatch.h"
#include "widgets/TextBox.h"

#include <QAction>
#include <QClipboard>
#include <QHeaderView>
#include <QScreen>
#include <QTreeWidget>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QTimer>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>

namespace {

constexpr int cardPages = 20;
constexpr int rowsPerPage = 4;

QStringList entriesOf(const QMenu *menu)
{
    QStringList texts;
    for (const QAction *action : menu->actions())
        if (!action->isSeparator())
            texts.append(action->text());
    return texts;
}

QAction *entry(const QMenu *menu, const QString &text)
{
    for (QAction *action : menu->actions())
        if (action->text() == text)
            return action;
    return nullptr;
}

// The menu a right click at a point of widget opens, as the event reaches
// the widget under the pointer.
QMenu *menuAt(QWidget *widget, QPoint at)
{
    QWidget *window = widget->window();
    const QPoint inWindow = widget->mapTo(window, at);
    QWidget *under = window->childAt(inWindow);
    if (!under)
        under = window;
    QContextMenuEvent event(QContextMenuEvent::Mouse, under->mapFrom(window, inWindow),
                            window->mapToGlobal(inWindow));
    QApplication::sendEvent(under, &event);
    return qobject_cast<QMenu *>(QApplication::activePopupWidget());
}

} // namespace

class FirstDayTest : public WindowFixture
{
    Q_OBJECT

private slots:
    void init();

    void buttonsReturn_data();
    void buttonsReturn();
    void menuActsOnSwatchUnderPointer();
    void undoSaidInMenus();
    void aboutFromMenus();
    void findColourBesideAndOnCard();
    void findColourAddAndCopy();
    void labHasNoNegativeZero();

private:
    void showCollection() { emit m_form->palettac()->FSCommand(QString(), QString()); }
    void closeMenu();
    // nextb, previousb, deleteb: each shown and drawn over the panel.
    QString buttons() const;
};

void FirstDayTest::init()
{
    createFolder(ProgramFolder::card(cardPages, rowsPerPage));
}

void FirstDayTest::closeMenu()
{
    if (QWidget *popup = QApplication::activePopupWidget())
        popup->close();
    QTest::qWait(0);
}

QString FirstDayTest::buttons() const
{
    QStringList state;
    for (MovieControl *b : {m_form->nextb_swf(), m_form->previousb_swf(), m_form->deleteb_swf()})
        state.append(b->isVisible() ? QStringLiteral("shown") : QStringLiteral("hidden"));
    return state.join(QLatin1Char(' '));
}

void FirstDayTest::buttonsReturn_data()
{
    QTest::addColumn<QString>("road");
    QTest::newRow("undo of the last delete") << "undo";
    QTest::newRow("import into the empty collection") << "import";
    QTest::newRow("another program adds") << "other";
    QTest::newRow("restart") << "restart";
    QTest::newRow("add from the find dialog") << "find";
}

void FirstDayTest::buttonsReturn()
{
    QFETCH(QString, road);
    const QString code = ProgramFolder::codeFor(2, 3);
    if (road == QLatin1String("undo"))
        m_folder->addCollectionRows({{QStringLiteral("5327"), code}});
    QVERIFY(openWindow());
    showCollection();
    if (road == QLatin1String("undo")) {
        QCOMPARE(buttons(), QStringLiteral("shown shown shown"));
        WindowDriver::key(Qt::Key_2, Qt::ControlModifier);
        WindowDriver::key(Qt::Key_Delete);
    }
    QCOMPARE(m_form->baby_num()->text(), QStringLiteral("0"));
    QCOMPARE(buttons(), QStringLiteral("hidden hidden hidden"));

    if (road == QLatin1String("undo")) {
        WindowDriver::key(Qt::Key_Z, Qt::ControlModifier);
    } else if (road == QLatin1String("import")) {
        const QString palette = m_folder->path() + QStringLiteral("/in.gpl");
        QFile file(palette);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("GIMP Palette\nName: in\n#\n 1 2 3\t%1\n").arg(code).toUtf8());
        file.close();
        // The preview comes first: Import (Enter) writes, then its report
        // closes (Escape), as a person goes through it.
        auto *through = new QTimer(this);
        connect(through, &QTimer::timeout, this, [through] {
            auto *preview = qobject_cast<ImportPreviewDialog *>(QApplication::activeModalWidget());
            if (!preview)
                return;
            if (!preview->imported()) {
                QTest::keyClick(preview, Qt::Key_Return);
            } else {
                QTest::keyClick(preview, Qt::Key_Escape);
                through->deleteLater();
            }
        });
        through->start(50);
        m_form->collectionPanel()->importFrom(palette);
    } else if (road == QLatin1String("other")) {
        m_folder->addCollectionRows({{QStringLiteral("5327"), code}});
        QTRY_COMPARE_WITH_TIMEOUT(m_form->baby_num()->text(), QStringLiteral("1"), 5000);
    } else if (road == QLatin1String("restart")) {
        m_form.reset();
        m_folder->addCollectionRows({{QStringLiteral("5327"), code}});
        QVERIFY(openWindow());
        showCollection();
    } else if (road == QLatin1String("find")) {
        // The dialog's Add, with the empty collection in front.
        FindColourDialog *find = m_form->findColour();
        find->search(code);
        find->addChosen();
    }

    QCOMPARE(m_form->baby_code()->text(), code);
    QCOMPARE(m_form->baby_num()->text(), QStringLiteral("1"));
    QCOMPARE(m_form->baby_nummax()->text(), QStringLiteral("/1"));
    QCOMPARE(buttons(), QStringLiteral("shown shown shown"));
    // The delete button works where it is drawn.
    MovieControl *del = m_form->deleteb_swf();
    QTest::mouseClick(del, Qt::LeftButton, {}, del->rect().center());
    QTRY_COMPARE(m_folder->collectionCodes(), QStringList());
}

void FirstDayTest::menuActsOnSwatchUnderPointer()
{
    QVERIFY(openWindow());
    m_form->pageMove(1);
    // Swatch 4 framed, the menu opened on swatch 2.
    m_form->pagecolor_Click(4);
    const QString framed = ProgramFolder::codeFor(1, 4);
    const QString pointed = ProgramFolder::codeFor(1, 2);
    QCOMPARE(m_form->color_a(), framed);
    Swatch *swatch = m_form->pagecolor(2);
    QMenu *menu = menuAt(swatch, swatch->rect().center());
    QVERIFY(menu);
    const QStringList texts = entriesOf(menu);
    QVERIFY2(texts.contains(QStringLiteral("Copy %1").arg(pointed)), qPrintable(texts.join(", ")));
    QVERIFY2(texts.contains(QStringLiteral("Add %1 to the collection").arg(pointed)), qPrintable(texts.join(", ")));
    QVERIFY(!texts.join(QLatin1Char('\n')).contains(framed));
    entry(menu, QStringLiteral("Add %1 to the collection").arg(pointed))->trigger();
    closeMenu();
    QCOMPARE(m_folder->collectionCodes(), QStringList{pointed});
    // The frame and the selected code stay where the user put them.
    QCOMPARE(m_form->color_a(), framed);

    // On the card between swatches: nothing to add.
    QWidget *card = m_form->tart_pb(0);
    menu = menuAt(card, QPoint(5, 5));
    QVERIFY(menu);
    QVERIFY(entriesOf(menu).filter(QStringLiteral("Add ")).isEmpty());
    closeMenu();
}

void FirstDayTest::undoSaidInMenus()
{
    const QString code = ProgramFolder::codeFor(3, 1);
    m_folder->addCollectionRows({{QStringLiteral("5327"), code}});
    QVERIFY(openWindow());
    QMenu *menu = m_form->collectionPanel()->contextMenu();
    QVERIFY(entriesOf(menu).filter(QStringLiteral("Undo")).isEmpty());
    delete menu;

    showCollection();
    WindowDriver::key(Qt::Key_2, Qt::ControlModifier);
    WindowDriver::key(Qt::Key_Delete);
    QCOMPARE(m_folder->collectionCodes(), QStringList());

    const QString undo = QStringLiteral("Undo delete of %1").arg(code);
    const QString redo = QStringLiteral("Redo delete of %1").arg(code);
    menu = m_form->collectionPanel()->contextMenu();
    QVERIFY2(entriesOf(menu).contains(undo), qPrintable(entriesOf(menu).join(", ")));
    QCOMPARE(entry(menu, undo)->shortcut(), QKeySequence(QKeySequence::Undo));
    delete menu;
    // The card's menu says the same, and undoes.
    menu = m_form->cardPanel()->contextMenu(nullptr);
    QVERIFY2(entriesOf(menu).contains(undo), qPrintable(entriesOf(menu).join(", ")));
    entry(menu, undo)->trigger();
    delete menu;
    QCOMPARE(m_folder->collectionCodes(), QStringList{code});

    menu = m_form->cardPanel()->contextMenu(nullptr);
    QVERIFY(entriesOf(menu).filter(QStringLiteral("Undo")).isEmpty());
    QVERIFY2(entriesOf(menu).contains(redo), qPrintable(entriesOf(menu).join(", ")));
    entry(menu, redo)->trigger();
    delete menu;
    QCOMPARE(m_folder->collectionCodes(), QStringList());
}

void FirstDayTest::aboutFromMenus()
{
    QVERIFY(openWindow());
    const QSize client = m_form->size();
    for (QMenu *menu : {m_form->cardPanel()->contextMenu(nullptr), m_form->collectionPanel()->contextMenu()}) {
        QAction *about = entry(menu, QStringLiteral("About Tesselle 5327…"));
        QVERIFY2(about, qPrintable(entriesOf(menu).join(", ")));
        about->trigger();
        delete menu;
    }
    auto *box = m_form->findChild<AboutBox *>();
    QVERIFY(box);
    QVERIFY(box->isVisible());
    QVERIFY(box->text().contains(QStringLiteral(TESSELLE_VERSION)));
    QVERIFY(box->text().contains(QStringLiteral("MIT")));
    QVERIFY(box->text().contains(m_folder->databasePath()));
    QCOMPARE(box->folder(), QFileInfo(m_folder->databasePath()).absolutePath());
    QVERIFY(box->findChild<QPushButton *>(QStringLiteral("openFolder")));
    // No menu bar: the window keeps its size.
    QCOMPARE(client, QSize(210, 690));
    QCOMPARE(m_form->size(), client);
}

void FirstDayTest::findColourBesideAndOnCard()
{
    QVERIFY(openWindow());
    // The user had typed part of a code, then went to the collection.
    m_form->findcode_txt1()->setFocus();
    WindowDriver::type(QStringLiteral("T0"));
    const QColor typedColour = m_form->findcode_txt1()->foreColor();
    showCollection();
    QVERIFY(m_form->tart_pb(0)->isHidden());

    FindColourDialog *find = m_form->findColour();
    QVERIFY(QTest::qWaitForWindowExposed(find));
    // Beside the window, not over it, where the screen has room.
    const QRect room = m_form->screen()->availableGeometry();
    if (room.width() >= m_form->frameGeometry().width() + find->frameGeometry().width() + 8) {
        QVERIFY2(!find->frameGeometry().intersects(m_form->frameGeometry()),
                 qPrintable(QStringLiteral("dialog %1,%2 %3x%4 over window %5,%6")
                                .arg(find->x()).arg(find->y()).arg(find->width()).arg(find->height())
                                .arg(m_form->x()).arg(m_form->y())));
        QVERIFY(room.contains(find->frameGeometry()));
    }
    // Off Wayland the screen can be read: Pick from screen works, nothing
    // is said of Wayland.
    QPushButton *pick = nullptr;
    for (QPushButton *button : find->findChildren<QPushButton *>()) {
        if (button->text() == QStringLiteral("&Pick from screen"))
            pick = button;
    }
    QVERIFY(pick);
    QVERIFY(pick->isEnabled());
    QVERIFY(!find->findChild<QLabel *>(QStringLiteral("waylandLimits")));

    // A colour of page 7, row 3, chosen by Enter in the list.
    const QString code = ProgramFolder::codeFor(7, 3);
    find->search(code);
    auto *list = find->findChild<QTreeWidget *>();
    QVERIFY(list);
    QCOMPARE(find->current(), code);
    // Every column in sight: no scroll bar is needed.
    QVERIFY2(list->header()->length() <= list->viewport()->width(),
             qPrintable(QStringLiteral("%1 > %2").arg(list->header()->length()).arg(list->viewport()->width())));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Return);

    QVERIFY(m_form->tart_pb(0)->isVisible());
    QVERIFY(m_form->tart_pb(1)->isHidden());
    QCOMPARE(m_form->pagen_text()->text(), QStringLiteral("7"));
    QCOMPARE(m_form->color_a(), code);
    QVERIFY(m_form->pageselect()->isVisible());
    QCOMPARE(m_form->pageselect()->geometry().center(), m_form->pagecolor(3)->geometry().center());
    // The code fields keep what the user typed, in its colour.
    QCOMPARE(m_form->findcode_txt1()->text(), QStringLiteral("T0"));
    QCOMPARE(m_form->findcode_txt2()->text(), QString());
    QCOMPARE(m_form->findcode_txt1()->foreColor(), typedColour);
}

void FirstDayTest::findColourAddAndCopy()
{
    QVERIFY(openWindow());
    FindColourDialog *find = m_form->findColour();
    QVERIFY(QTest::qWaitForWindowExposed(find));
    find->search(ProgramFolder::codeFor(4, 2));
    auto *list = find->findChild<QTreeWidget *>();
    QVERIFY(list->topLevelItemCount() >= 3);
    const QString second = list->topLevelItem(1)->text(0);
    const QString third = list->topLevelItem(2)->text(0);

    // Keys on the list: Ctrl+C copies, Ctrl+Enter adds the colour the user
    // is on; Insert does nothing (a screen reader's key).
    list->setFocus();
    list->setCurrentItem(list->topLevelItem(1));
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), second);
    QTest::keyClick(list, Qt::Key_Insert);
    QCOMPARE(m_folder->collectionCodes(), QStringList());
    QTest::keyClick(list, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(m_folder->collectionCodes(), QStringList{second});
    // Added again: silently skipped, as on the card.
    QTest::keyClick(list, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(m_folder->collectionCodes(), QStringList{second});

    // The buttons.
    list->setCurrentItem(list->topLevelItem(2));
    auto *copy = find->findChild<QPushButton *>(QStringLiteral("copy"));
    auto *add = find->findChild<QPushButton *>(QStringLiteral("add"));
    QVERIFY(copy && add);
    QTest::mouseClick(copy, Qt::LeftButton);
    QCOMPARE(QGuiApplication::clipboard()->text(), third);
    QTest::mouseClick(add, Qt::LeftButton);
    QCOMPARE(m_folder->collectionCodes(), (QStringList{second, third}));

    // The context menu, on the first result.
    const QString first = list->topLevelItem(0)->text(0);
    list->setCurrentItem(list->topLevelItem(0));
    QMenu *menu = find->contextMenu();
    QVERIFY(menu);
    const QStringList texts = entriesOf(menu);
    QVERIFY2(texts.contains(QStringLiteral("Copy %1").arg(first)), qPrintable(texts.join(", ")));
    QVERIFY(texts.contains(QStringLiteral("Copy %1").arg(list->topLevelItem(0)->text(1))));
    entry(menu, QStringLiteral("Add %1 to the collection").arg(first))->trigger();
    delete menu;
    QCOMPARE(m_folder->collectionCodes(), (QStringList{second, third, first}));
}

void FirstDayTest::labHasNoNegativeZero()
{
    // Greys have a* and b* of zero, never "-0.00", whatever rounding gives.
    for (int v = 0; v <= 255; ++v) {
        const QString lab = CopyMenu::textsOf(QStringLiteral("Z0.00.00"), QColor(v, v, v)).last().text;
        QVERIFY2(!lab.contains(QStringLiteral("-0.00")), qPrintable(lab));
    }
    const QString lab = CopyMenu::textsOf(QStringLiteral("Z0.00.97"), QColor(247, 247, 247)).last().text;
    QVERIFY2(lab.endsWith(QStringLiteral(" 0.00 0.00)")), qPrintable(lab));
}

QTEST_MAIN(FirstDayTest)
#include "test_firstday.moc"
