// SPDX-License-Identifier: MIT
// The import's preview alone, as a keyboard user works it: rows unticked
// with Space, the largest ΔE00 typed, Import with Enter hands over exactly
// the rows ticked and shows the report; Cancel hands over nothing. Every
// control a screen reader reaches has a name.
#include "collection/ImportPreviewDialog.h"

#include "RowPixels.h"

#include "platform/ScreenColour.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QDoubleSpinBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

namespace {

using Outcome = PaletteImport::Outcome;

PaletteImport::Row row(const QString &name, const QString &code, double deltaE, Outcome outcome, bool byCode = false)
{
    PaletteImport::Row r;
    r.name = name;
    r.rgb = qRgb(10, 20, 30);
    r.code = code;
    r.cardRgb = qRgb(12, 22, 32);
    r.deltaE = deltaE;
    r.outcome = outcome;
    r.byCode = byCode;
    return r;
}

PaletteImport::Plan plan()
{
    PaletteImport::Plan p;
    p.ok = true;
    p.path = QStringLiteral("/tmp/theirs.gpl");
    p.rows = {row("A1.01.01", "A1.01.01", 0.5, Outcome::ByCode, true),
              row("Near", "B1.01.01", 2.0, Outcome::Nearest),
              row("Far", "C1.01.01", 8.0, Outcome::Nearest),
              row("Kept", "D1.01.01", 1.0, Outcome::Collected),
              row("Twice", "B1.01.01", 2.5, Outcome::Merged)};
    PaletteImport::Row unread;
    unread.why = QStringLiteral("block 6 \u201cx\u201d: colour model \u201cXYZ\u201d is not known");
    p.rows.append(unread);
    return p;
}

} // namespace

class ImportPreviewTest : public QObject
{
    Q_OBJECT

private slots:
    void keyboardTakesTheRowsTicked();
    void cancelHandsOverNothing();
    void controlsHaveNames();
    void selectedRowShowsItsColours();
};

void ImportPreviewTest::keyboardTakesTheRowsTicked()
{
    QVector<bool> taken;
    double limit = -1;
    int calls = 0;
    ImportPreviewDialog dialog(plan(), [&](const QVector<bool> &take, double maxDeltaE) {
        ++calls;
        taken = take;
        limit = maxDeltaE;
        PaletteImport::Result result;
        result.ok = true;
        result.message = QStringLiteral("Imported from /tmp/theirs.gpl: 1 added, 5 skipped.");
        return result;
    });
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto *rows = dialog.findChild<QTreeView *>(QStringLiteral("importRows"));
    auto *largest = dialog.findChild<QDoubleSpinBox *>(QStringLiteral("largestDelta"));
    QVERIFY(rows && largest);
    QAbstractItemModel *model = rows->model();
    const auto tick = [model](int row) { return model->index(row, 0).data(Qt::CheckStateRole); };
    QCOMPARE(model->rowCount(), 6);
    // Skipped rows cannot be ticked; they say why.
    QVERIFY(!(model->flags(model->index(3, 0)) & Qt::ItemIsUserCheckable));
    QVERIFY(!tick(3).isValid());
    QVERIFY(model->index(5, 3).data().toString().contains(QLatin1String("XYZ")));
    QCOMPARE(model->index(2, 2).data().toString(), QStringLiteral("8.00"));
    // The limit starts at the farthest match: every row to be taken is ticked.
    QCOMPARE(largest->value(), 8.0);

    // The first row unticked with Space.
    QCOMPARE(QApplication::focusWidget(), rows);
    QTest::keyClick(rows, Qt::Key_Space);
    QCOMPARE(tick(0), QVariant(Qt::Unchecked));
    // A largest ΔE00 of 5 typed: the far match is unticked.
    largest->setFocus();
    largest->selectAll();
    QTest::keyClicks(largest, QStringLiteral("5"));
    QTest::keyClick(largest, Qt::Key_Tab);
    QCOMPARE(tick(2), QVariant(Qt::Unchecked));
    QCOMPARE(tick(1), QVariant(Qt::Checked));

    // Enter presses Import, the default button.
    rows->setFocus();
    QTest::keyClick(&dialog, Qt::Key_Return);
    QCOMPARE(calls, 1);
    QCOMPARE(taken, QVector<bool>({false, true, false, false, false, false}));
    QCOMPARE(limit, 5.0);
    auto *report = dialog.findChild<QPlainTextEdit *>(QStringLiteral("importReport"));
    QVERIFY(report && report->isVisible());
    QVERIFY(report->toPlainText().contains(QLatin1String("1 added, 5 skipped")));
    QVERIFY(dialog.imported());
    // The report ends the dialog: it closes without a second import.
    QTest::keyClick(report, Qt::Key_Escape);
    QCOMPARE(calls, 1);
}

void ImportPreviewTest::cancelHandsOverNothing()
{
    int calls = 0;
    ImportPreviewDialog dialog(plan(), [&](const QVector<bool> &, double) {
        ++calls;
        return PaletteImport::Result();
    });
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(calls, 0);
    QVERIFY(!dialog.imported());
}

void ImportPreviewTest::controlsHaveNames()
{
    ImportPreviewDialog dialog(plan(), [](const QVector<bool> &, double) { return PaletteImport::Result(); });
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    for (const char *name : {"importRows", "largestDelta", "importReport"}) {
        QWidget *widget = dialog.findChild<QWidget *>(QLatin1String(name));
        QVERIFY2(widget, name);
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
        QVERIFY2(accessible && !accessible->text(QAccessible::Name).isEmpty(), name);
    }
    auto *import = dialog.findChild<QPushButton *>(QStringLiteral("importButton"));
    QVERIFY(import);
    QCOMPARE(QAccessible::queryAccessibleInterface(import)->text(QAccessible::Name), QStringLiteral("Import"));
}

void ImportPreviewTest::selectedRowShowsItsColours()
{
    // Butter 1 of the Tango palette, matched to the card's nearest: the
    // first row, selected as the preview opens.
    PaletteImport::Plan butter = plan();
    PaletteImport::Row first = butter.rows.at(0);
    first.rgb = qRgb(0xfc, 0xe9, 0x4f);
    first.cardRgb = qRgb(0xf6, 0xf1, 0x5e);
    PaletteImport::Rows withButter{first};
    for (int i = 1; i < butter.rows.size(); ++i)
        withButter.append(butter.rows.at(i));
    butter.rows = withButter;
    ImportPreviewDialog dialog(butter, [](const QVector<bool> &, double) { return PaletteImport::Result(); });
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto *rows = dialog.findChild<QTreeView *>(QStringLiteral("importRows"));
    QVERIFY(rows);
    QVERIFY(rows->selectionModel()->isRowSelected(0, QModelIndex()));
    // Each square its own colour to the pixel, inside its grey edge: 14 by
    // 14 of it; the selection marked around the squares.
    for (const QRgb colour : {qRgb(0xfc, 0xe9, 0x4f), qRgb(0xf6, 0xf1, 0x5e)}) {
        const QColor shown = ScreenColour::of(QColor(colour));
        QVERIFY2(RowPixels::count(rows, 0, shown) >= 14 * 14, qPrintable(shown.name()));
    }
    QVERIFY(RowPixels::selection(rows, 0) > 0);
}

QTEST_MAIN(ImportPreviewTest)
#include "test_import_preview.moc"
