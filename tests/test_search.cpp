// SPDX-License-Identifier: MIT
// The code fields and the code lookup, typed through real key events.
#include "WindowFixture.h"
#include "FailureRecorder.h"
#include "ProgramFolder.h"
#include "WindowDriver.h"

#include "TestWindow.h"
#include "widgets/PictureBox.h"
#include "widgets/TextBox.h"
#include "widgets/Swatch.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

#include <memory>

namespace {

const QColor black(0, 0, 0);
const QColor failureRed(192, 0, 0);

// A card of 12 pages of 3 rows, with K8.04.43 as row 2 of page 7, and a
// page 9 whose rows are numbered 2, 5 and 9 (the last one K5.55.09).
QVector<CardRow> searchCard()
{
    QVector<CardRow> rows;
    int sn = 0;
    for (int page = 1; page <= 12; ++page) {
        const QList<int> rowNumbers = page == 9 ? QList<int>{2, 5, 9} : QList<int>{1, 2, 3};
        for (int row : rowNumbers) {
            CardRow r = ProgramFolder::rowFor(++sn, page, row);
            if (page == 7 && row == 2)
                r.code = QStringLiteral("K8.04.43");
            if (page == 9 && row == 9)
                r.code = QStringLiteral("K5.55.09");
            rows.append(r);
        }
    }
    return rows;
}

} // namespace

class SearchTest : public WindowFixture
{
    Q_OBJECT

private slots:
    void init();

    void typingCapitalisesAndMovesFocus();
    void firstKeyInStateZeroEmptiesFields_data();
    void firstKeyInStateZeroEmptiesFields();
    void spaceRefusedOtherCharactersKept_data();
    void spaceRefusedOtherCharactersKept();
    void backspaceKeepsFocus();
    void foundCodeShowsPageAndFramesSwatch();
    void missingCodeThenCorrected();
    void enterRightAfterSuccessLooksUpEmptyCode();
    void codesWithQuotesAreValues_data();
    void codesWithQuotesAreValues();
    void pastedLowerCaseCodeIsFound();
    void rowGapsFrameTheFoundColour();

private:
    void typeCode(const QString &keys);
    void checkFields(const QString &a, const QString &b, const QString &c, const QColor &colour);

};

void SearchTest::init()
{
    createFolder(searchCard());
    QVERIFY(openWindow());
    m_form->findcode_txt1()->setFocus();
    QTRY_COMPARE(WindowDriver::focus(), m_form->findcode_txt1());
}

void SearchTest::typeCode(const QString &keys)
{
    WindowDriver::type(keys);
}

void SearchTest::checkFields(const QString &a, const QString &b, const QString &c,
                             const QColor &colour)
{
    QCOMPARE(m_form->findcode_txt1()->text(), a);
    QCOMPARE(m_form->findcode_txt2()->text(), b);
    QCOMPARE(m_form->findcode_txt3()->text(), c);
    for (TextBox *field : {m_form->findcode_txt1(), m_form->findcode_txt2(), m_form->findcode_txt3()})
        QCOMPARE(field->foreColor(), colour);
}

void SearchTest::typingCapitalisesAndMovesFocus()
{
    typeCode(QStringLiteral("a"));
    QCOMPARE(m_form->icode_char(), qint16(1));
    QCOMPARE(WindowDriver::focus(), m_form->findcode_txt1());
    typeCode(QStringLiteral("b"));
    QCOMPARE(m_form->findcode_txt1()->text(), QStringLiteral("AB"));
    QCOMPARE(WindowDriver::focus(), m_form->findcode_txt2());
    typeCode(QStringLiteral("cd"));
    QCOMPARE(WindowDriver::focus(), m_form->findcode_txt3());
    // The second character in the third field hands the focus back.
    typeCode(QStringLiteral("ef"));
    QCOMPARE(WindowDriver::focus(), m_form->findcode_txt1());
    checkFields(QStringLiteral("AB"), QStringLiteral("CD"), QStringLiteral("EF"), black);
}

void SearchTest::firstKeyInStateZeroEmptiesFields_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("shift") << int(Qt::Key_Shift);
    QTest::newRow("arrow") << int(Qt::Key_Right);
    QTest::newRow("letter") << int(Qt::Key_Q);
}

void SearchTest::firstKeyInStateZeroEmptiesFields()
{
    QFETCH(int, key);
    // A swatch click fills the fields and leaves the flag at 0.
    m_form->pageMove(7);
    m_form->pagecolor_Click(2);
    QCOMPARE(m_form->icode_char(), qint16(0));
    m_form->findcode_txt2()->setFocus();
    QTRY_COMPARE(WindowDriver::focus(), m_form->findcode_txt2());

    WindowDriver::key(key);
    QCOMPARE(m_form->icode_char(), qint16(1));
    QCOMPARE(m_form->findcode_txt1()->text(), QString());
    QCOMPARE(m_form->findcode_txt3()->text(), QString());
    QCOMPARE(m_form->findcode_txt2()->text(), key == Qt::Key_Q ? QStringLiteral("Q") : QString());
    // In state 1 the next key edits instead of emptying.
    WindowDriver::type(QStringLiteral("7"));
    QCOMPARE(m_form->findcode_txt2()->text(), key == Qt::Key_Q ? QStringLiteral("Q7") : QStringLiteral("7"));
}

void SearchTest::spaceRefusedOtherCharactersKept_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");

    QTest::newRow("space") << " " << "";
    QTest::newRow("space between") << "a b" << "AB";
    QTest::newRow("digits") << "12" << "12";
    QTest::newRow("dot and dash") << ".-" << ".-";
    QTest::newRow("lower case") << "zz" << "ZZ";
}

void SearchTest::spaceRefusedOtherCharactersKept()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    typeCode(typed);
    QCOMPARE(m_form->findcode_txt1()->text(), shown);
}

void SearchTest::backspaceKeepsFocus()
{
    typeCode(QStringLiteral("ab"));
    m_form->findcode_txt1()->setFocus();
    QTRY_COMPARE(WindowDriver::focus(), m_form->findcode_txt1());
    m_form->findcode_txt1()->end(false);
    WindowDriver::key(Qt::Key_Backspace);
    QCOMPARE(m_form->findcode_txt1()->text(), QStringLiteral("A"));
    QCOMPARE(WindowDriver::focus(), m_form->findcode_txt1());
    // Releasing any key in a full field hands the focus on.
    WindowDriver::type(QStringLiteral("c"));
    QCOMPARE(WindowDriver::focus(), m_form->findcode_txt2());
    m_form->findcode_txt1()->setFocus();
    QTRY_COMPARE(WindowDriver::focus(), m_form->findcode_txt1());
    WindowDriver::key(Qt::Key_Shift);
    QCOMPARE(WindowDriver::focus(), m_form->findcode_txt2());
}

void SearchTest::foundCodeShowsPageAndFramesSwatch()
{
    typeCode(QStringLiteral("k80443"));
    WindowDriver::key(Qt::Key_Return);

    QCOMPARE(m_form->pagen_text()->text(), QStringLiteral("7"));
    QVERIFY(!m_form->pageselect()->isHidden());
    QCOMPARE(m_form->pagecs()->backColor(), m_form->pagecolor(2)->backColor());
    QCOMPARE(m_form->pageselect()->geometry().center(), m_form->pagecolor(2)->geometry().center());
    checkFields(QStringLiteral("K8"), QStringLiteral("04"), QStringLiteral("43"), black);
    QCOMPARE(m_form->icode_char(), qint16(0));
    QCOMPARE(m_form->color_a(), QStringLiteral("K8.04.43"));
    // The lookup gave the focus to the first field, and the release of the
    // Enter that ran it, arriving there, does not hand it on: the next code
    // starts in the first field.
    QCOMPARE(WindowDriver::focus(), m_form->findcode_txt1());
    typeCode(QStringLiteral("x"));
    checkFields(QStringLiteral("X"), QString(), QString(), black);
    WindowDriver::key(Qt::Key_Backspace);
    typeCode(QStringLiteral("k55509"));
    WindowDriver::key(Qt::Key_Return);
    checkFields(QStringLiteral("K5"), QStringLiteral("55"), QStringLiteral("09"), black);
    QCOMPARE(m_form->pagen_text()->text(), QStringLiteral("9"));
    QCOMPARE(m_form->color_a(), QStringLiteral("K5.55.09"));
    // Only that one release is let pass: a full field hands the focus on
    // again at the next key.
    typeCode(QStringLiteral("t0"));
    QCOMPARE(WindowDriver::focus(), m_form->findcode_txt2());
}

void SearchTest::missingCodeThenCorrected()
{
    m_form->pageMove(3);
    m_form->pagecolor_Click(1);
    const QString selected = m_form->color_a();
    m_form->findcode_txt1()->setFocus();

    typeCode(QStringLiteral("k80444"));
    WindowDriver::key(Qt::Key_Return);
    checkFields(QStringLiteral("K8"), QStringLiteral("04"), QStringLiteral("44"), failureRed);
    QCOMPARE(m_form->icode_char(), qint16(1));
    QCOMPARE(m_form->pagen_text()->text(), QStringLiteral("3"));
    QVERIFY(!m_form->pageselect()->isHidden());
    QCOMPARE(m_form->color_a(), selected);

    // Correct the last group: typing edits, the colour stays until Enter.
    m_form->findcode_txt3()->setFocus();
    QTRY_COMPARE(WindowDriver::focus(), m_form->findcode_txt3());
    m_form->findcode_txt3()->end(false);
    WindowDriver::key(Qt::Key_Backspace);
    checkFields(QStringLiteral("K8"), QStringLiteral("04"), QStringLiteral("4"), failureRed);
    typeCode(QStringLiteral("3"));
    WindowDriver::key(Qt::Key_Return);
    checkFields(QStringLiteral("K8"), QStringLiteral("04"), QStringLiteral("43"), black);
    QCOMPARE(m_form->pagen_text()->text(), QStringLiteral("7"));
    QCOMPARE(m_form->color_a(), QStringLiteral("K8.04.43"));
}

void SearchTest::enterRightAfterSuccessLooksUpEmptyCode()
{
    typeCode(QStringLiteral("k80443"));
    WindowDriver::key(Qt::Key_Return);
    QCOMPARE(m_form->icode_char(), qint16(0));
    WindowDriver::key(Qt::Key_Return);
    checkFields(QString(), QString(), QString(), failureRed);
    QCOMPARE(m_form->icode_char(), qint16(1));
    QCOMPARE(m_form->pagen_text()->text(), QStringLiteral("7"));  // page unchanged
    QCOMPARE(WindowDriver::focus(), m_form->findcode_txt1());
}

void SearchTest::codesWithQuotesAreValues_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("double quote") << "k\"0443";
    QTest::newRow("single quote") << "k'0443";
    QTest::newRow("semicolon") << ";;0443";
    QTest::newRow("percent and underscore") << "%_.___";
    QTest::newRow("backslash") << "\\\\0443";
}

void SearchTest::codesWithQuotesAreValues()
{
    QFETCH(QString, typed);
    FailureRecorder failures;
    m_folder->addCollectionRows({{"5327", "T0.01.01"}});
    typeCode(typed);
    WindowDriver::key(Qt::Key_Return);
    QVERIFY(failures.failures.isEmpty());
    QCOMPARE(m_form->findcode_txt1()->foreColor(), failureRed);
    QCOMPARE(m_form->icode_char(), qint16(1));
    QCOMPARE(m_form->pagen_text()->text(), QStringLiteral("1"));
    QCOMPARE(m_folder->collectionCodes(), QStringList{QStringLiteral("T0.01.01")});
}

void SearchTest::pastedLowerCaseCodeIsFound()
{
    // Pasted text does not pass through the capitalising key filter.
    const QStringList groups = {QStringLiteral("k8"), QStringLiteral("04"), QStringLiteral("43")};
    TextBox *fields[] = {m_form->findcode_txt1(), m_form->findcode_txt2(), m_form->findcode_txt3()};
    // A lookup that finds nothing first, so that the next key edits the
    // fields rather than starting a new code.
    m_form->findcode_txt1()->setFocus();
    QTRY_COMPARE(WindowDriver::focus(), m_form->findcode_txt1());
    WindowDriver::key(Qt::Key_Return);
    QCOMPARE(m_form->icode_char(), qint16(1));
    for (int i = 0; i < 3; ++i) {
        fields[i]->setFocus();
        QTRY_COMPARE(WindowDriver::focus(), fields[i]);
        QApplication::clipboard()->setText(groups[i]);
        fields[i]->paste();
    }
    QCOMPARE(m_form->findcode_txt1()->text(), QStringLiteral("k8"));
    m_form->findcode_txt1()->setFocus();
    QTRY_COMPARE(WindowDriver::focus(), m_form->findcode_txt1());
    WindowDriver::key(Qt::Key_Return);
    QCOMPARE(m_form->pagen_text()->text(), QStringLiteral("7"));
    QVERIFY(!m_form->pageselect()->isHidden());
    // The selected colour is the card's own code, so that adding it cannot
    // collect the same colour twice in two spellings.
    QCOMPARE(m_form->color_a(), QStringLiteral("K8.04.43"));
    QCOMPARE(m_form->findcode_txt1()->foreColor(), black);
}

void SearchTest::rowGapsFrameTheFoundColour()
{
    typeCode(QStringLiteral("k55509"));
    WindowDriver::key(Qt::Key_Return);
    QCOMPARE(m_form->pagen_text()->text(), QStringLiteral("9"));
    // Row 9 is the third swatch of its page.
    QVERIFY(!m_form->pageselect()->isHidden());
    QCOMPARE(m_form->pagecs()->backColor(), m_form->pagecolor(3)->backColor());
    QCOMPARE(m_form->pageselect()->geometry().center(), m_form->pagecolor(3)->geometry().center());
}

QTEST_MAIN(SearchTest)
#include "test_search.moc"
