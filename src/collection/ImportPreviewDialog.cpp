// SPDX-License-Identifier: MIT
#include "collection/ImportPreviewDialog.h"

#include "collection/ImportRowsModel.h"
#include "widgets/SwatchRowDelegate.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

ImportPreviewDialog::ImportPreviewDialog(const PaletteImport::Plan &plan, Importer importer, QWidget *parent)
    : QDialog(parent), m_plan(plan), m_importer(std::move(importer)), m_model(new ImportRowsModel(m_plan, this)), m_rows(new QTreeView(this)),
      m_limit(new QDoubleSpinBox(this)), m_count(new QLabel(this)), m_report(new QPlainTextEdit(this)),
      m_buttons(new QDialogButtonBox(this))
{
    setObjectName(QStringLiteral("importPreview"));
    setWindowTitle(tr("Import %1").arg(QFileInfo(plan.path).fileName()));

    auto *heading = new QLabel(tr("&Colours of %1 and the card colours they become. Untick a row to leave it out.")
                                   .arg(QFileInfo(plan.path).fileName()), this);
    heading->setWordWrap(true);
    heading->setBuddy(m_rows);
    m_rows->setObjectName(QStringLiteral("importRows"));
    m_rows->setAccessibleName(tr("Palette colours and the card colours they become"));
    m_rows->setModel(m_model);
    m_rows->setRootIsDecorated(false);
    m_rows->setUniformRowHeights(true);
    // The focus shown on the cell, not over the whole row, so that the
    // colour squares show their colours.
    m_rows->setItemDelegate(new SwatchRowDelegate(m_rows));
    m_rows->setSelectionMode(QAbstractItemView::SingleSelection);
    m_rows->header()->setSectionResizeMode(QHeaderView::Interactive);
    m_rows->setColumnWidth(ImportRowsModel::PaletteColumn, 220);
    m_rows->setColumnWidth(ImportRowsModel::CardColumn, 150);
    m_rows->setColumnWidth(ImportRowsModel::DeltaColumn, 60);
    if (m_model->rowCount() > 0)
        m_rows->setCurrentIndex(m_model->index(0, 0));

    auto *limitLabel = new QLabel(tr("&Largest \u0394E00 to take:"), this);
    limitLabel->setBuddy(m_limit);
    m_limit->setObjectName(QStringLiteral("largestDelta"));
    m_limit->setAccessibleName(tr("Largest \u0394E00 to take"));
    m_limit->setRange(0, 200);
    m_limit->setDecimals(2);
    m_limit->setSingleStep(1);
    m_limit->setValue(std::ceil(m_model->farthestMatch() * 100) / 100);
    m_count->setObjectName(QStringLiteral("importCount"));

    m_report->setObjectName(QStringLiteral("importReport"));
    m_report->setAccessibleName(tr("Import report"));
    m_report->setReadOnly(true);
    m_report->hide();

    m_import = m_buttons->addButton(tr("&Import"), QDialogButtonBox::AcceptRole);
    m_import->setObjectName(QStringLiteral("importButton"));
    m_import->setDefault(true);
    m_buttons->addButton(QDialogButtonBox::Cancel);

    auto *limitRow = new QHBoxLayout;
    limitRow->addWidget(limitLabel);
    limitRow->addWidget(m_limit);
    limitRow->addStretch();
    limitRow->addWidget(m_count);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(m_rows, 1);
    layout->addLayout(limitRow);
    layout->addWidget(m_report, 1);
    layout->addWidget(m_buttons);
    resize(640, 480);

    // The limit decides for every match, a tick for one row.
    connect(m_limit, &QDoubleSpinBox::valueChanged, this, [this](double limit) {
        m_model->setLimit(limit);
        updateCount();
    });
    connect(m_model, &QAbstractItemModel::dataChanged, this, &ImportPreviewDialog::updateCount);
    connect(m_import, &QPushButton::clicked, this, &ImportPreviewDialog::import);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    updateCount();
    m_rows->setFocus();
}

void ImportPreviewDialog::updateCount()
{
    m_count->setText(tr("%1 of %2 colours to import").arg(m_model->tickedCount()).arg(m_plan.rows.size()));
}

void ImportPreviewDialog::import()
{
    m_result = m_importer(m_model->ticks(), m_limit->value());
    m_imported = m_result.ok;
    // The report ends the dialog: the rows give way to it.
    m_report->setPlainText(m_result.message);
    m_report->show();
    m_rows->setEnabled(false);
    m_limit->setEnabled(false);
    m_import->hide();
    m_buttons->clear();
    QPushButton *close = m_buttons->addButton(QDialogButtonBox::Close);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    m_report->setFocus();
}
