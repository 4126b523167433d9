// SPDX-License-Identifier: MIT
// What a new user meets in a day's work: the collection's buttons on every
// road from an empty collection to a filled one while the panel is in
// front, context menus that act on what they were opened on, undo and redo
// said in the menus, and About.
#include "WindowFixture.h"
#include "WindowDriver.h"

#include "TestWindow.h"
#include "app/AboutBox.h"
#include "app/FindColourDialog.h"
#include "card/CardPanel.h"
#include "collection/CollectionPanel.h"
#include "widgets/MovieControl.h"
#include "widgets/Swatch.h"
#include "widgets/TextBox.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
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

QTEST_MAIN(FirstDayTest)
#include "test_firstday.moc"
