// SPDX-License-Identifier: MIT
// Every action of the window that reads or writes the collection's file,
// driven through its keys, menus and file dialogs while another program (a
// real sqlite3) holds the file with BEGIN EXCLUSIVE past a short busy
// timeout: each waits, shows that it waits, gives up, says so, and leaves
// the window as it was; nothing crashes (a context menu's action once ran
// on after the wait had deleted its menu). Once the lock is gone the same
// action works.
#include "OtherProgram.h"
#include "PaintWatch.h"
#include "ProgramRun.h"
#include "WindowDriver.h"
#include "WindowFixture.h"

#include "card/CardPanel.h"
#include "collection/CollectionPanel.h"
#include "widgets/MovieControl.h"
#include "widgets/Notice.h"
#include "widgets/PictureBox.h"
#include "widgets/TextBox.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSet>
#include <QTest>
#include <QTimer>


namespace {

const QString inUse = QStringLiteral("The collection is in use by another program; try again.");
const QString waiting = QStringLiteral("Waiting for another program using the collection…");

// What the window shows: the page, the frame, the selected code, the entry
// shown and the panel in front.
struct Shown
{
    QString page, frame, colorA, entry, front;
    bool operator==(const Shown &o) const
    {
        return page == o.page && frame == o.frame && colorA == o.colorA && entry == o.entry && front == o.front;
    }
};

QString text(const Shown &s)
{
    return QStringLiteral("page %1, frame %2, color_a %3, entry %4, %5").arg(s.page, s.frame, s.colorA, s.entry, s.front);
}

// Answers the modal dialogs an action opens: a file dialog gets path typed
// and is accepted, the import's preview its Import button, any other (the print
// dialog) is noted and closed. Bounded: it gives up after 20 s.
class DialogAnswerer : public QObject
{
public:
    explicit DialogAnswerer(const QString &path) : m_path(path)
    {
        m_timer.setInterval(50);
        connect(&m_timer, &QTimer::timeout, this, [this] { answer(); });
        m_timer.start();
        m_deadline.start();
    }
    QStringList seen;

private:
    void answer()
    {
        if (m_deadline.elapsed() > 20000)
            m_timer.stop();
        // The dialogs shown, found as windows: under the sanitizers the
        // file dialog was seen shown before it was the active modal one.
        const QList<QWidget *> windows = QApplication::topLevelWidgets();
        for (QWidget *window : windows) {
            auto *dialog = qobject_cast<QDialog *>(window);
            if (!dialog || !dialog->isVisible() || dialog->objectName() == QLatin1String("findColour"))
                continue;
            const bool first = !m_handled.contains(dialog);
            if (first) {
                m_handled.insert(dialog);
                seen.append(QString::fromLatin1(dialog->metaObject()->className()));
            }
            if (auto *files = qobject_cast<QFileDialog *>(dialog)) {
                auto *name = files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
                if (first) {
                    name->clear();
                    QTest::keyClicks(name, m_path);
                }
                // Save or Open as a click gives it: Enter may go to the
                // name's completion list instead.
                dialog->accept();
            } else if (first && QString::fromLatin1(dialog->metaObject()->className()) == QLatin1String("ImportPreviewDialog")) {
                QTest::keyClick(dialog, Qt::Key_Return);
                // The report stays until the preview is closed.
                QTimer::singleShot(200, dialog, [dialog] { QTest::keyClick(dialog, Qt::Key_Escape); });
            } else if (first) {
                dialog->reject();
            }
        }
    }

    QString m_path;
    QTimer m_timer;
    QElapsedTimer m_deadline;
    QSet<QWidget *> m_handled;
};

} // namespace

class LockedTest : public WindowFixture
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void everyActionGivesUpAndLeavesTheWindow_data();
    void everyActionGivesUpAndLeavesTheWindow();
    void programSaysItWaitsAndWhy_data();
    void programSaysItWaitsAndWhy();

private:
    Shown shown() const;
    Notice *notice() const { return m_form->findChild<Notice *>(); }
    // Opens the collection's context menu with Shift+F10 and picks the
    // entry by the keys a person presses.
    void pickFromCollectionMenu(const QString &entry);
    void run(const QString &action);
};

void LockedTest::initTestCase()
{
    // Read once, at the first wait: long enough for the wait to be shown
    // after its first second, short enough for a table of cases.
    qputenv("TESSELLE_BUSY_TIMEOUT_MS", "1300");
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
}

void LockedTest::init()
{
    createFolder(ProgramFolder::card(4, 8));
    m_folder->addCollectionRows({{QStringLiteral("5327"), ProgramFolder::codeFor(1, 1)},
                                 {QStringLiteral("5327"), ProgramFolder::codeFor(1, 2)}});
    QVERIFY(openWindow());
}

Shown LockedTest::shown() const
{
    return {m_form->pagen_text()->text(),
            m_form->pageselect()->isVisible() ? QString::number(m_form->pageselect()->y()) : QStringLiteral("hidden"),
            m_form->color_a(),
            m_form->baby_num()->text() + m_form->baby_nummax()->text() + QLatin1Char(' ') + m_form->baby_code()->text(),
            m_form->tart_pb(1)->isVisible() ? QStringLiteral("collection") : QStringLiteral("card")};
}

void LockedTest::pickFromCollectionMenu(const QString &entry)
{
    WindowDriver::key(Qt::Key_F10, Qt::ShiftModifier);
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    QVERIFY(menu);
    for (int i = 0; i < 30 && (!menu->activeAction() || menu->activeAction()->text() != entry); ++i)
        QTest::keyClick(menu, Qt::Key_Down);
    QVERIFY2(menu->activeAction() && menu->activeAction()->text() == entry, qPrintable(entry));
    QTest::keyClick(menu, Qt::Key_Return);
}

void LockedTest::run(const QString &action)
{
    // The offscreen platform gives the window back its activation only
    // when asked, once a dialog or menu has closed (5 s at most).
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    if (action == QLatin1String("export"))
        pickFromCollectionMenu(QStringLiteral("Export the collection…"));
    else if (action == QLatin1String("save as PDF"))
        pickFromCollectionMenu(QStringLiteral("Save as PDF…"));
    else if (action == QLatin1String("print"))
        pickFromCollectionMenu(QStringLiteral("Print…"));
    else if (action == QLatin1String("import"))
        pickFromCollectionMenu(QStringLiteral("Import colours…"));
    else if (action == QLatin1String("find colour"))
        WindowDriver::key(Qt::Key_F, Qt::ControlModifier);
    else if (action == QLatin1String("add"))
        emit m_form->addtobaby_swf()->FSCommand(QString(), QString());
    else if (action == QLatin1String("delete"))
        WindowDriver::key(Qt::Key_Delete);
    else if (action == QLatin1String("next entry"))
        WindowDriver::key(Qt::Key_Right);
    else if (action == QLatin1String("next page"))
        emit m_form->next_swf()->FSCommand(QString(), QString());
}

void LockedTest::everyActionGivesUpAndLeavesTheWindow_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("onCollection");  // with the collection in front; else the card, a swatch framed
    QTest::addColumn<QString>("file");       // what a file dialog is given, in the test's folder

    QTest::newRow("export") << "export" << true << "mine.gpl";
    QTest::newRow("save as PDF") << "save as PDF" << true << "mine.pdf";
    QTest::newRow("print") << "print" << true << "";
    QTest::newRow("import") << "import" << true << "in.gpl";
    QTest::newRow("delete") << "delete" << true << "";
    QTest::newRow("next entry") << "next entry" << true << "";
    QTest::newRow("add") << "add" << false << "";
    QTest::newRow("next page") << "next page" << false << "";
    QTest::newRow("find colour") << "find colour" << false << "";
}

void LockedTest::everyActionGivesUpAndLeavesTheWindow()
{
    QFETCH(QString, action);
    QFETCH(bool, onCollection);
    QFETCH(QString, file);
    const QString path = file.isEmpty() ? QString() : QDir(m_folder->path()).filePath(file);
    if (action == QLatin1String("import")) {
        QFile palette(path);
        QVERIFY(palette.open(QIODevice::WriteOnly));
        palette.write("GIMP Palette\nName: in\n#\n  0   0   0\t" + ProgramFolder::codeFor(3, 4).toLatin1() + "\n");
    }

    // The window as a person leaves it: a page and a framed colour, or the
    // collection's second entry in front with the keyboard on it.
    m_form->pageMove(2);
    m_form->pagecolor_Click(3);
    if (onCollection) {
        WindowDriver::key(Qt::Key_2, Qt::ControlModifier);
        WindowDriver::key(Qt::Key_Right);
        QCOMPARE(m_form->baby_num()->text(), QStringLiteral("2"));
    }
    const Shown before = shown();
    const QStringList collected = m_folder->collectionCodes();

    OtherProgram other(m_folder->databasePath());
    QByteArray why;
    QVERIFY2(other.hold("begin exclusive;\nselect 1;", &why), why.constData());
    // What the notice showed, seen as it is painted (no event is handled
    // while an action waits).
    QStringList painted;
    {
        const PaintWatch watch(notice(), [&] {
            if (!notice()->isHidden() && !painted.contains(notice()->accessibleName()))
                painted.append(notice()->accessibleName());
        });
        DialogAnswerer answerer(path);
        run(action);
        // The file dialogs and the menu come back to the event loop.
        QTRY_VERIFY_WITH_TIMEOUT(!QApplication::activeModalWidget() && !QApplication::activePopupWidget(), 20000);
        QVERIFY2(answerer.seen.count(QStringLiteral("QFileDialog")) == (path.isEmpty() ? 0 : 1),
                 qPrintable(answerer.seen.join(QLatin1Char(' '))));
    }

    QVERIFY2(painted.contains(waiting), qPrintable(painted.join(QLatin1Char('|'))));
    QVERIFY2(notice()->accessibleName().contains(inUse), qPrintable(notice()->accessibleName()));
    QVERIFY2(shown() == before, qPrintable(text(before) + QLatin1String(" -> ") + text(shown())));
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    QCOMPARE(m_form->findChild<QDialog *>(QStringLiteral("findColour")), nullptr);
    if (!path.isEmpty() && action != QLatin1String("import"))
        QVERIFY(!QFile::exists(path));
    QVERIFY(other.commit());
    QCOMPARE(m_folder->collectionCodes(), collected);

    // With the lock gone the same action works.
    QStringList dialogs;
    {
        DialogAnswerer answerer(path);
        run(action);
        QTRY_VERIFY_WITH_TIMEOUT(!QApplication::activeModalWidget() && !QApplication::activePopupWidget(), 20000);
        dialogs = answerer.seen;
    }
    if (action == QLatin1String("export") || action == QLatin1String("save as PDF")) {
        QVERIFY(QFile::exists(path));
    } else if (action == QLatin1String("print")) {
        // The print dialog, or, where the print module is not installed
        // beside this build, the word that it is not: the sheet was read.
        const bool notInstalled = notice()->accessibleName().endsWith(QLatin1String("tesselle-print.so was not found."));
        QVERIFY2((dialogs.size() == 1 && dialogs.first() != QLatin1String("QFileDialog")) || notInstalled,
                 qPrintable(dialogs.join(QLatin1Char(' ')) + notice()->accessibleName()));
    } else if (action == QLatin1String("import")) {
        QCOMPARE(m_folder->collectionCodes(), collected + QStringList{ProgramFolder::codeFor(3, 4)});
    } else if (action == QLatin1String("delete")) {
        QCOMPARE(m_folder->collectionCodes(), QStringList{collected.first()});
    } else if (action == QLatin1String("next entry")) {
        QCOMPARE(m_form->baby_num()->text(), QStringLiteral("1"));
    } else if (action == QLatin1String("add")) {
        QCOMPARE(m_folder->collectionCodes(), collected + QStringList{ProgramFolder::codeFor(2, 3)});
    } else if (action == QLatin1String("next page")) {
        QCOMPARE(m_form->pagen_text()->text(), QStringLiteral("3"));
    } else if (action == QLatin1String("find colour")) {
        QVERIFY(m_form->findChild<QDialog *>(QStringLiteral("findColour")));
    }
}

void LockedTest::programSaysItWaitsAndWhy_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("waits");  // said on standard error after a second
    QTest::addColumn<QString>("ends");   // said when the lock outlasts the wait

    const QString palette = QStringLiteral("in.gpl");
    QTest::newRow("start-up") << QStringList{}
                              << "Another program is using the collection %1; waiting for it to finish…"
                              << "Another program is using the collection %1; close it and start again.";
    QTest::newRow("--import") << QStringList{QStringLiteral("--import"), palette}
                              << "waiting for another program to finish with the collection %1 before importing %2…"
                              << "The collection is in use by another program; try again.";
}

void LockedTest::programSaysItWaitsAndWhy()
{
    // The program as a user starts it, beside a real sqlite3 holding the
    // collection past a wait shortened for the test: a word after a second,
    // then a plain one, never a statement's text, and status 1. Once the
    // lock is gone the same command works.
    QFETCH(QStringList, arguments);
    QFETCH(QString, waits);
    QFETCH(QString, ends);
    m_form.reset();
    const QString palette = QDir(m_folder->path()).filePath(QStringLiteral("in.gpl"));
    QFile file(palette);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("GIMP Palette\nName: in\n#\n  0   0   0\t" + ProgramFolder::codeFor(3, 4).toLatin1() + "\n");
    file.close();
    arguments.replaceInStrings(QStringLiteral("in.gpl"), palette);
    const QString database = m_folder->databasePath();

    ProgramRun::Options options{arguments.isEmpty() ? ProgramRun::Display::FirstFrame : ProgramRun::Display::None};
    options.environment.insert(QStringLiteral("TESSELLE_BUSY_TIMEOUT_MS"), QStringLiteral("1500"));
    options.waitMs = 30000;
    OtherProgram other(database);
    QByteArray why;
    QVERIFY2(other.hold("begin exclusive;\nselect 1;", &why), why.constData());
    const ProgramRun::Result held = ProgramRun::run(*m_folder, arguments, options);
    QVERIFY(held.finished);
    QCOMPARE(held.code, 1);
    // %1 the collection, %2 the palette.
    const auto filled = [&](QString text) {
        return text.replace(QLatin1String("%1"), database).replace(QLatin1String("%2"), palette);
    };
    QVERIFY2(held.err.contains(filled(waits)), qPrintable(held.err));
    QVERIFY2(held.err.contains(filled(ends)), qPrintable(held.err));
    QVERIFY2(!held.err.contains(QLatin1String("select"), Qt::CaseInsensitive), qPrintable(held.err));
    QVERIFY(other.commit());
    QCOMPARE(m_folder->collectionCodes().size(), 2);

    const ProgramRun::Result free = ProgramRun::run(*m_folder, arguments, options);
    QVERIFY(free.finished);
    QVERIFY2(free.code == 0, qPrintable(free.err));
    QVERIFY2(!free.err.contains(QLatin1String("waiting")), qPrintable(free.err));
    QCOMPARE(m_folder->collectionCodes().size(), arguments.isEmpty() ? 2 : 3);
}

QTEST_MAIN(LockedTest)
#include "test_reliability_locked.moc"
