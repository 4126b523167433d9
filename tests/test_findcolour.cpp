// SPDX-License-Identifier: MIT
// Find colour as a user types into it: the nearest colours listed once the
// keys pause, nothing said for a colour typed halfway, Enter looking up
// what is still waiting and choosing; no key waiting for another program
// that holds the database; each colour square its own colour on the
// selected row.
#include "OtherProgram.h"
#include "RowPixels.h"
#include "WindowDriver.h"
#include "WindowFixture.h"

#include "app/FindColourDialog.h"
#include "colour/ColourWords.h"
#include "platform/ScreenColour.h"
#include "widgets/TextBox.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace {

constexpr int cardPages = 9;
constexpr int rowsPerPage = 4;
// Every wait here is for the pause after the last key (300 ms) and the
// events it sets off; bounded far above it.
constexpr int settleMs = 5000;

QString hexOf(const CardRow &row)
{
    return QColor(row.r, row.g, row.b).name();
}

} // namespace

class FindColourTest : public WindowFixture
{
    Q_OBJECT

private slots:
    void init();
    void typingLists_data();
    void typingLists();
    void enterLooksUpAndChooses();
    void keysDoNotWaitForTheDatabase();
    void selectedRowShowsItsColour();

private:
    // Opens Find colour over a ready window, its colour box focused.
    FindColourDialog *openFind();
    QLineEdit *input() const { return m_find->findChild<QLineEdit *>(); }
    QTimer *pause() const { return m_find->findChild<QTimer *>(QStringLiteral("typingPause")); }
    QString status() const;

    FindColourDialog *m_find = nullptr;
};

void FindColourTest::init()
{
    createFolder(ProgramFolder::card(cardPages, rowsPerPage));
}

FindColourDialog *FindColourTest::openFind()
{
    if (!openWindow())
        return nullptr;
    m_find = m_form->findColour();
    // The window's own activation may still be on its way: bounded.
    const bool active = QTest::qWaitFor([this] {
        if (QApplication::activeWindow() != m_find)
            m_find->activateWindow();
        return QApplication::activeWindow() == m_find;
    }, settleMs);
    if (!active)
        return nullptr;
    input()->setFocus();
    return m_find;
}

QString FindColourTest::status() const
{
    // The status line is the label that is neither the box's nor the note.
    for (const QLabel *label : m_find->findChildren<QLabel *>()) {
        if (!label->buddy() && !label->text().startsWith(QLatin1String("ΔE00 compares")))
            return label->text();
    }
    return QStringLiteral("(no status line)");
}

void FindColourTest::typingLists_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("first");
    // A part of the error said, or "" for none.
    QTest::addColumn<QString>("error");
    const CardRow row = ProgramFolder::rowFor(0, 7, 3);
    QTest::newRow("a code in small letters") << row.code.toLower() << row.code << "";
    QTest::newRow("#rrggbb of a card colour") << hexOf(row) << row.code << "";
    QTest::newRow("r g b of a card colour") << QStringLiteral("%1 %2 %3").arg(row.r).arg(row.g).arg(row.b) << row.code
                                            << "";
    QTest::newRow("a code typed halfway") << row.code.left(4) << "" << "";
    QTest::newRow("#rrggbb typed halfway") << QStringLiteral("#12") << "" << "";
    QTest::newRow("rgb() typed halfway") << QStringLiteral("rgb(1, 2") << "" << "";
    QTest::newRow("a code not on the card") << QStringLiteral("Q1.01.01") << "" << "not a code of this card";
    QTest::newRow("no colour") << QStringLiteral("zz9") << "" << "is not a colour";
}

void FindColourTest::typingLists()
{
    QFETCH(QString, typed);
    QFETCH(QString, first);
    QFETCH(QString, error);
    QVERIFY(openFind());
    QSignalSpy said(m_find, &FindColourDialog::said);
    QSignalSpy chosen(m_find, &FindColourDialog::chosen);
    WindowDriver::type(typed);
    // Nothing yet: the keys have not paused.
    QCOMPARE(input()->text(), typed);
    QVERIFY(pause()->isActive());
    QCOMPARE(pause()->interval(), 300);
    QCOMPARE(m_find->listed(), QStringList());
    QTRY_VERIFY_WITH_TIMEOUT(!pause()->isActive(), settleMs);
    QCOMPARE(m_find->listed().value(0), first);
    if (error.isEmpty()) {
        QVERIFY2(first.isEmpty() || status().startsWith(QLatin1String("Nearest to")), qPrintable(status()));
        QVERIFY2(!first.isEmpty() || status().isEmpty(), qPrintable(status()));
    } else {
        QVERIFY2(status().contains(error), qPrintable(status()));
    }
    QCOMPARE(said.count(), 0);
    QCOMPARE(chosen.count(), 0);
    // Each row named for a screen reader whole: code, colour in words, ΔE.
    if (!first.isEmpty()) {
        const auto *list = m_find->findChild<QTreeWidget *>();
        const QTreeWidgetItem *best = list->topLevelItem(0);
        QCOMPARE(best->data(0, Qt::AccessibleTextRole).toString(),
                 QStringLiteral("%1, %2, delta E %3")
                     .arg(first, ColourWords::of(QColor(best->text(1)).rgb()), best->text(2)));
    }
}

void FindColourTest::enterLooksUpAndChooses()
{
    QVERIFY(openFind());
    QSignalSpy chosen(m_find, &FindColourDialog::chosen);
    // Halfway, Enter says what is wrong and chooses nothing.
    const QString code = ProgramFolder::codeFor(6, 2);
    WindowDriver::type(code.left(4));
    WindowDriver::key(Qt::Key_Return);
    QVERIFY(!pause()->isActive());
    QVERIFY2(status().contains(QLatin1String("three groups")), qPrintable(status()));
    QCOMPARE(chosen.count(), 0);
    // The rest typed and Enter before the pause runs out: looked up at
    // once, the nearest chosen and shown on the card.
    WindowDriver::type(code.mid(4));
    QVERIFY(pause()->isActive());
    WindowDriver::key(Qt::Key_Return);
    QVERIFY(!pause()->isActive());
    QCOMPARE(m_find->listed().value(0), code);
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(chosen.at(0).at(0).toString(), code);
    QCOMPARE(m_form->pagen_text()->text(), QStringLiteral("6"));
    QCOMPARE(m_form->color_a(), code);
    // Enter again on the same list chooses the colour the user is on.
    auto *list = m_find->findChild<QTreeWidget *>();
    list->setCurrentItem(list->topLevelItem(1));
    input()->setFocus();
    WindowDriver::key(Qt::Key_Return);
    QCOMPARE(chosen.count(), 2);
    QCOMPARE(chosen.at(1).at(0).toString(), list->topLevelItem(1)->text(0));
}

void FindColourTest::keysDoNotWaitForTheDatabase()
{
    QVERIFY(openFind());
    OtherProgram other(m_folder->databasePath());
    QByteArray why;
    QVERIFY2(other.hold("begin exclusive;\nselect count(*) from \"5327\";", &why), why.constData());
    const QString code = ProgramFolder::codeFor(4, 1);
    WindowDriver::type(code);
    // Listed from the colours the dialog read when it was made: well within
    // the bound, which is far below the database's wait for a lock.
    QTRY_COMPARE_WITH_TIMEOUT(m_find->listed().value(0), code, settleMs);
    QVERIFY(other.commit());
}

void FindColourTest::selectedRowShowsItsColour()
{
    QVERIFY(openFind());
    m_find->search(hexOf(ProgramFolder::rowFor(0, 5, 2)));
    auto *list = m_find->findChild<QTreeWidget *>();
    QVERIFY(list->topLevelItem(0)->isSelected());
    list->setFocus();
    // The first row's 12-pixel square, selected, is its own colour.
    const QColor shown = ScreenColour::of(QColor(list->topLevelItem(0)->text(1)));
    QVERIFY2(RowPixels::count(list, 0, shown) >= 12 * 12, qPrintable(shown.name()));
    QVERIFY(RowPixels::selection(list, 0) > 0);
}

QTEST_MAIN(FindColourTest)
#include "test_findcolour.moc"
