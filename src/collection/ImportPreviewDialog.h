// SPDX-License-Identifier: MIT
#pragma once

#include "collection/PaletteImport.h"

#include <QDialog>

#include <functional>

class QDialogButtonBox;
class QDoubleSpinBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTreeView;
class ImportRowsModel;

// An import looked at before it lands: each palette colour (its name and
// swatch) beside the card colour it becomes (code, swatch, ΔE00), what is
// skipped and why. Rows can be unticked and a largest ΔE00 set. Import
// hands the ticked rows to the importer given, once, and shows its report;
// Cancel writes nothing. It holds no lock on the collection.
class ImportPreviewDialog : public QDialog
{
    Q_OBJECT

public:
    // importer adds the rows taken (take[i] for plan.rows[i]) within the
    // largest ΔE00 and returns the report.
    using Importer = std::function<PaletteImport::Result(const QVector<bool> &take, double maxDeltaE)>;

    ImportPreviewDialog(const PaletteImport::Plan &plan, Importer importer, QWidget *parent = nullptr);

    // The result of the import, once Import was pressed.
    const PaletteImport::Result &importResult() const { return m_result; }
    bool imported() const { return m_imported; }

private:
    void updateCount();
    void import();

    PaletteImport::Plan m_plan;
    Importer m_importer;
    ImportRowsModel *m_model;
    QTreeView *m_rows;
    QDoubleSpinBox *m_limit;
    QLabel *m_count;
    QPlainTextEdit *m_report;
    QDialogButtonBox *m_buttons;
    QPushButton *m_import;
    PaletteImport::Result m_result;
    bool m_imported = false;
};
