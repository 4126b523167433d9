// SPDX-License-Identifier: MIT
// Colours out of the window: the copy menus of the swatches and of the
// collection's colour, Ctrl+C outside the text boxes, the export from the
// collection's menu, and the dialog that finds the nearest card colour.
#include "OtherProgram.h"
#include "WindowFixture.h"
#include "WindowDriver.h"

#include "app/FindColourDialog.h"
#include "card/CardPanel.h"
#include "collection/CollectionPanel.h"
#include "widgets/MovieControl.h"
#include "widgets/PictureBox.h"
#include "widgets/Swatch.h"
#include "widgets/TextBox.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QDrag>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QRegularExpression>
#include <QTest>

#include <sys/stat.h>

namespace {

using WindowDriver::menuEntries;
using WindowDriver::menuEntry;
using WindowDriver::noticeOf;
using WindowDriver::openContextMenu;

} // namespace

class CopyTest : public WindowFixture
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void swatchMenuCopiesEachForm_data();
    void swatchMenuCopiesEachForm();
    void unknownEntryOffersItsCodeOnly();
    void ctrlCCopiesTheFramedCodeOutsideTextBoxes();
    void exportFromTheCollection();
    void exportLeavesWhatIsNoFile_data();
    void exportLeavesWhatIsNoFile();
    void exportRefusedWhileAnotherProgramHoldsTheFile_data();
    void exportRefusedWhileAnotherProgramHoldsTheFile();
    void printRefusesAModuleThatIsNoFile();
    void dragCarriesCodeAndColour();
    void findColourChoosesOnTheCardPanel();
};

void CopyTest::initTestCase()
{
    // Another program's lock is waited for this long, read at the first wait.
    qputenv("TESSELLE_BUSY_TIMEOUT_MS", "1500");
}

void CopyTest::init()
{
    QVector<CardRow> card = ProgramFolder::card(4, 3);
    card[4].r = 98;
    card[4].g = 103;
    card[4].b = 97;
    createFolder(card);
    m_folder->addCollectionRows({{"5327", ProgramFolder::codeFor(2, 2)}, {"5327", "X9.99.99"}});
    QVERIFY(openWindow());
    m_form->pageMove(2);
}

void CopyTest::swatchMenuCopiesEachForm_data()
{
    QTest::addColumn<QString>("copied");
    // Page 2 row 2 of the fixture is sRGB 98, 103, 97.
    QTest::newRow("code") << ProgramFolder::codeFor(2, 2);
    QTest::newRow("hex") << "#626761";
    QTest::newRow("rgb()") << "rgb(98, 103, 97)";
    QTest::newRow("R G B") << "98 103 97";
    // CSS lab(): checked below against scikit-image's rgb2lab with the D65
    // white, 43.0036, -3.1844, 2.7166.
    QTest::newRow("L*a*b*") << "lab(";
}

void CopyTest::swatchMenuCopiesEachForm()
{
    QFETCH(QString, copied);
    QMenu *menu = openContextMenu(m_form->pagecolor(2));
    QVERIFY(menu);
    QAction *action = menuEntry(menu, QStringLiteral("Copy %1").arg(copied));
    if (copied == QLatin1String("lab(")) {
        const QStringList labs = menuEntries(menu).filter(QRegularExpression(QStringLiteral("^Copy lab\\(")));
        QCOMPARE(labs.size(), 1);
        action = menuEntry(menu, labs.first());
        copied = labs.first().mid(5);
        const QRegularExpressionMatch m =
            QRegularExpression(QStringLiteral("^lab\\(([-0-9.]+)% ([-0-9.]+) ([-0-9.]+)\\)$")).match(copied);
        QVERIFY2(m.hasMatch(), qPrintable(copied));
        QVERIFY(qAbs(m.captured(1).toDouble() - 43.0036) < 0.02);
        QVERIFY(qAbs(m.captured(2).toDouble() - -3.1844) < 0.02);
        QVERIFY(qAbs(m.captured(3).toDouble() - 2.7166) < 0.02);
    }
    QVERIFY2(action, qPrintable(menuEntries(menu).join(QLatin1String(" | "))));
    action->trigger();
    menu->close();
    QCOMPARE(QApplication::clipboard()->text(), copied);
    QCOMPARE(noticeOf(*m_form), QStringLiteral("Copied %1").arg(copied));
    // Copying selects nothing and changes nothing.
    QVERIFY(m_form->pageselect()->isHidden());
    QCOMPARE(m_form->color_a(), QString());
}

void CopyTest::unknownEntryOffersItsCodeOnly()
{
    emit m_form->palettac()->FSCommand(QString(), QString());
    emit m_form->nextb_swf()->FSCommand(QStringLiteral("click"), QString());
    QCOMPARE(m_form->baby_code()->text(), QStringLiteral("X9.99.99"));
    QMenu *menu = openContextMenu(m_form->baby_color());
    QVERIFY(menu);
    const QStringList copies = menuEntries(menu).filter(QRegularExpression(QStringLiteral("^Copy ")));
    QCOMPARE(copies, QStringList{QStringLiteral("Copy X9.99.99")});
    menu->close();

    // A known entry offers its colour too.
    emit m_form->nextb_swf()->FSCommand(QStringLiteral("click"), QString());
    menu = openContextMenu(m_form->baby_color());
    QVERIFY(menu);
    QVERIFY(menuEntries(menu).contains(QStringLiteral("Copy #626761")));
    menu->close();
}

void CopyTest::ctrlCCopiesTheFramedCodeOutsideTextBoxes()
{
    QApplication::clipboard()->setText(QStringLiteral("before"));
    m_form->pagecolor_Click(2);
    // In the page box Ctrl+V, Ctrl+C … keep the box's rules: nothing copied.
    m_form->pagen_text()->setFocus();
    QTRY_COMPARE(WindowDriver::focus(), m_form->pagen_text());
    WindowDriver::key(Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("before"));
    // Elsewhere it copies the framed swatch's code.
    m_form->tart_pb(0)->setFocus();
    QTRY_COMPARE(WindowDriver::focus(), m_form->tart_pb(0));
    WindowDriver::key(Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), ProgramFolder::codeFor(2, 2));
    QCOMPARE(noticeOf(*m_form), QStringLiteral("Copied %1").arg(ProgramFolder::codeFor(2, 2)));
}

void CopyTest::exportFromTheCollection()
{
    const QString path = QDir(m_folder->path()).filePath(QStringLiteral("mine.gpl"));
    emit m_form->palettac()->FSCommand(QString(), QString());  // entry 1 shown
    m_form->collectionPanel()->exportTo(path, false);
    QCOMPARE(noticeOf(*m_form),
             QStringLiteral("Exported 1 colour to %1. 1 entry without a known colour left out: this format cannot hold it.")
                 .arg(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray gpl = file.readAll();
    QVERIFY(gpl.startsWith("GIMP Palette\n"));
    QVERIFY2(gpl.contains(" 98 103  97\t" + ProgramFolder::codeFor(2, 2).toUtf8() + "\n"), gpl.constData());
    // The entry shown is still the one a delete removes.
    emit m_form->deleteb_swf()->FSCommand(QStringLiteral("delete"), QString());
    QCOMPARE(m_folder->collectionCodes(), QStringList{QStringLiteral("X9.99.99")});
}

void CopyTest::exportLeavesWhatIsNoFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("node");  // a FIFO made here, or where a link here points
    QTest::newRow("palette over a FIFO") << "mine.gpl" << "fifo";
    QTest::newRow("PDF over a link to /dev/full") << "mine.pdf" << "/dev/full";
}

void CopyTest::exportLeavesWhatIsNoFile()
{
    // A pipe or a device where the file goes is refused and stays what it
    // was; the window says why instead of "Exported".
    QFETCH(QString, name);
    QFETCH(QString, node);
    const QString path = m_folder->makeNode(name, node);
    QVERIFY(!path.isEmpty());
    m_form->collectionPanel()->exportTo(path, false);
    QCOMPARE(noticeOf(*m_form),
             QStringLiteral("%1 is not a regular file (a pipe or a device): only a file is written over, and it is "
                            "left as it is.").arg(path));
    QVERIFY(ProgramFolder::isNode(path, node));
    QCOMPARE(QDir(m_folder->path()).entryList({name + QLatin1String("*"), QStringLiteral("qt_temp*")},
                                              QDir::Files | QDir::System | QDir::Hidden),
             QStringList{name});
}

void CopyTest::exportRefusedWhileAnotherProgramHoldsTheFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("palette over an older one") << "mine.gpl";
    QTest::newRow("PDF sheet") << "mine.pdf";
    QTest::newRow("print, from the collection's menu") << QString();
}

void CopyTest::exportRefusedWhileAnotherProgramHoldsTheFile()
{
    // Another program holds the file past the wait: nothing is written (an
    // older file keeps its bytes), and the window says why
    // instead of "Exported 0 colours"; a print never reaches its dialog.
    QFETCH(QString, name);
    const bool print = name.isEmpty();
    const QString path = QDir(m_folder->path()).filePath(print ? QStringLiteral("mine.gpl") : name);
    if (name.endsWith(QLatin1String(".gpl"))) {
        QFile older(path);
        QVERIFY(older.open(QIODevice::WriteOnly));
        older.write("GIMP Palette\n  1   2   3\tolder\n");
    }
    const QByteArray before = QFile::exists(path) ? [&path] {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }() : QByteArray();

    OtherProgram other(m_folder->databasePath());
    QByteArray said;
    QVERIFY2(other.hold("begin exclusive;\nselect count(*) from baby2;", &said), said.constData());

    const QString why = QStringLiteral("The collection is in use by another program; try again.");
    if (print) {
        emit m_form->palettac()->FSCommand(QString(), QString());  // entry 1 shown
        QMenu *menu = openContextMenu(m_form->baby_color());
        QVERIFY(menu);
        QAction *printEntry = menuEntry(menu, QStringLiteral("Print\u2026"));
        QVERIFY2(printEntry, qPrintable(menuEntries(menu).join(QLatin1String(" | "))));
        // Should the print dialog open, it is closed, and the test fails.
        bool dialogShown = false;
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&dialogShown] {
            if (QWidget *dialog = QApplication::activeModalWidget()) {
                dialogShown = true;
                dialog->close();
            }
        });
        watch.start(200);
        menu->close();
        printEntry->trigger();
        watch.stop();
        QVERIFY(!dialogShown);
        QCOMPARE(noticeOf(*m_form), why);
    } else {
        m_form->collectionPanel()->exportTo(path, false);
        QCOMPARE(noticeOf(*m_form), QStringLiteral("%1 was not written. %2").arg(path, why));
    }
    QCOMPARE(QFile::exists(path), !before.isEmpty());
    if (!before.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
    }
    QCOMPARE(QDir(m_folder->path()).entryList({QStringLiteral("*.gpl.*"), QStringLiteral("*.pdf*")}, QDir::Files),
             QStringList());

    QVERIFY(other.commit());
    if (print) {
        // Once the lock is gone the sheet is read, and the print module is
        // looked for: none lies beside this test, so the user is told so
        // and no dialog opens.
        QMenu *again = openContextMenu(m_form->baby_color());
        QVERIFY(again);
        QAction *printAgain = menuEntry(again, QStringLiteral("Print\u2026"));
        QVERIFY(printAgain);
        again->close();
        printAgain->trigger();
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY2(noticeOf(*m_form).startsWith(QStringLiteral("Printing is not installed: "))
                     && noticeOf(*m_form).endsWith(QStringLiteral("tesselle-print.so was not found.")),
                 qPrintable(noticeOf(*m_form)));
        return;
    }
    // Once the lock is gone the same export is done.
    m_form->collectionPanel()->exportTo(path, false);
    QVERIFY2(noticeOf(*m_form).startsWith(QStringLiteral("Exported ")) && noticeOf(*m_form).contains(path),
             qPrintable(noticeOf(*m_form)));
    QVERIFY(QFile::exists(path));
}

void CopyTest::printRefusesAModuleThatIsNoFile()
{
    // The print module is looked for beside the executable: this test runs
    // a copy of itself from a folder whose module is a FIFO, which loading
    // would wait on for ever. The copy must end, the window having said why.
    const QByteArray childMark("TESSELLE_TEST_MODULE_FIFO");
    if (!qEnvironmentVariableIsSet(childMark.constData())) {
        QTemporaryDir beside;
        QVERIFY(beside.isValid());
        const QString copy = QDir(beside.path()).filePath(QStringLiteral("test_copy"));
        QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), copy));
        QVERIFY(QFile::setPermissions(copy, QFile::ReadOwner | QFile::ExeOwner));
        const QString module = QDir(beside.path()).filePath(QStringLiteral("tesselle-print.so"));
        QCOMPARE(mkfifo(QFile::encodeName(module).constData(), 0600), 0);
        QProcess child;
        child.setProcessChannelMode(QProcess::MergedChannels);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(childMark), QStringLiteral("1"));
        child.setProcessEnvironment(env);
        child.start(copy, {QStringLiteral("printRefusesAModuleThatIsNoFile")});
        // Bounded: a window blocked on the FIFO never ends by itself.
        const bool ended = child.waitForFinished(60000);
        if (!ended) {
            child.kill();
            child.waitForFinished(5000);
        }
        const QByteArray said = child.readAll();
        QVERIFY2(ended, "the window still waited on the FIFO after 60 s");
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, said.constData());
        QVERIFY(QFileInfo(module).exists() && !QFileInfo(module).isFile());
        return;
    }
    emit m_form->palettac()->FSCommand(QString(), QString());  // entry 1 shown
    QMenu *menu = openContextMenu(m_form->baby_color());
    QVERIFY(menu);
    QAction *print = menuEntry(menu, QStringLiteral("Print\u2026"));
    QVERIFY(print);
    menu->close();
    print->trigger();
    QVERIFY(!QApplication::activeModalWidget());
    // The notice may shorten the folder's name to fit.
    const QString said = noticeOf(*m_form);
    QVERIFY2(said.startsWith(QStringLiteral("Printing cannot be used: "))
                 && said.endsWith(QStringLiteral("/tesselle-print.so is not a regular file.")),
             qPrintable(said));
}

void CopyTest::dragCarriesCodeAndColour()
{
    Swatch *swatch = m_form->pagecolor(2);
    const std::unique_ptr<QMimeData> data(swatch->dragData());
    QCOMPARE(data->text(), ProgramFolder::codeFor(2, 2));
    QVERIFY(data->hasFormat(QStringLiteral("application/x-color")));
    QCOMPARE(qvariant_cast<QColor>(data->colorData()), QColor(98, 103, 97));

    // Moves with the button held, as the pointer sends them during a drag.
    auto move = [swatch](const QPoint &to) {
        QMouseEvent event(QEvent::MouseMove, to, swatch->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(swatch, &event);
    };
    // Past the drag distance the press becomes a drag, and no click.
    const QPoint from(10, 10);
    const QPoint far = from + QPoint(QApplication::startDragDistance() + 2, 0);
    QTest::mousePress(swatch, Qt::LeftButton, {}, from);
    move(far);
    QTest::mouseRelease(swatch, Qt::LeftButton, {}, far);
    QCOMPARE(m_form->color_a(), QString());

    // A press that moves less still selects on release, as a click does.
    QTest::mousePress(swatch, Qt::LeftButton, {}, from);
    move(from + QPoint(1, 1));
    QTest::mouseRelease(swatch, Qt::LeftButton, {}, from + QPoint(1, 1));
    QCOMPARE(m_form->color_a(), ProgramFolder::codeFor(2, 2));
}

void CopyTest::findColourChoosesOnTheCardPanel()
{
    emit m_form->palettac()->FSCommand(QString(), QString());  // the collection in front
    FindColourDialog *dialog = m_form->findColour();
    dialog->search(QStringLiteral("#636862"));
    QCOMPARE(dialog->listed().value(0), ProgramFolder::codeFor(2, 2));
    dialog->search(ProgramFolder::codeFor(3, 1).toLower());
    QCOMPARE(dialog->listed().value(0), ProgramFolder::codeFor(3, 1));
    emit dialog->chosen(ProgramFolder::codeFor(3, 1));
    QCOMPARE(m_form->pagen_text()->text(), QStringLiteral("3"));
    QCOMPARE(m_form->color_a(), ProgramFolder::codeFor(3, 1));
    QVERIFY(!m_form->pageselect()->isHidden());
    // The card comes forward to show it.
    QVERIFY(m_form->tart_pb(0)->isVisible());
    QVERIFY(m_form->tart_pb(1)->isHidden());
    dialog->close();
}

QTEST_MAIN(CopyTest)
#include "test_copy.moc"
