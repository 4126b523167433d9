// SPDX-License-Identifier: MIT
#include "collection/ImportPreviewDialog.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

enum Column { PaletteColumn, CardColumn, DeltaColumn, NoteColumn };

// One swatch per colour, however many rows show it.
QIcon swatch(QHash<QRgb, QIcon> &swatches, QRgb rgb)
{
    auto it = swatches.constFind(rgb);
    if (it != swatches.constEnd())
        return *it;
    QPixmap pixmap(16, 16);
    pixmap.fill(QColor(rgb));
    QPainter painter(&pixmap);
    painter.setPen(Qt::darkGray);
    painter.drawRect(0, 0, 15, 15);
    painter.end();
    return *swatches.insert(rgb, QIcon(pixmap));
}

QString hex(QRgb rgb)
{
    return QColor(rgb).name();
}

// Whether a row can be taken at all: skipped rows cannot.
bool takeable(const PaletteImport::Row &row)
{
    return row.outcome == PaletteImport::Outcome::ByCode || row.outcome == PaletteImport::Outcome::Nearest;
}

} // namespace

ImportPreviewDialog::ImportPreviewDialog(const PaletteImport::Plan &plan, Importer importer, QWidget *parent)
    : QDialog(parent), m_plan(plan), m_importer(std::move(importer)), m_rows(new QTreeWidget(this)),
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
    m_rows->setColumnCount(4);
    m_rows->setHeaderLabels({tr("Palette colour"), tr("Card colour"), tr("\u0394E00"), tr("What happens")});
    m_rows->setRootIsDecorated(false);
    m_rows->setUniformRowHeights(true);
    m_rows->setAllColumnsShowFocus(true);

    QHash<QRgb, QIcon> swatches;
    QList<QTreeWidgetItem *> items;
    items.reserve(plan.rows.size());
    for (const PaletteImport::Row &row : plan.rows) {
        auto *item = new QTreeWidgetItem;
        const QString name = row.name.isEmpty() ? tr("(no name)") : row.name;
        item->setText(PaletteColumn, row.rgb ? QStringLiteral("%1  %2").arg(name, hex(*row.rgb)) : name);
        if (row.rgb)
            item->setIcon(PaletteColumn, swatch(swatches, *row.rgb));
        if (!row.code.isEmpty()) {
            item->setText(CardColumn, QStringLiteral("%1  %2").arg(row.code, hex(row.cardRgb)));
            item->setIcon(CardColumn, swatch(swatches, row.cardRgb));
        }
        if (row.deltaE >= 0)
            item->setText(DeltaColumn, QString::number(row.deltaE, 'f', 2));
        QString note;
        switch (row.outcome) {
        case PaletteImport::Outcome::ByCode:
            note = tr("taken by code");
            break;
        case PaletteImport::Outcome::Nearest:
            note = tr("nearest card colour");
            break;
        case PaletteImport::Outcome::Collected:
            note = tr("skipped: collected already");
            break;
        case PaletteImport::Outcome::Merged:
            note = tr("skipped: an earlier colour becomes %1").arg(row.code);
            break;
        case PaletteImport::Outcome::Unread:
            note = tr("not read: %1").arg(row.why);
            break;
        }
        item->setText(NoteColumn, note);
        if (takeable(row)) {
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            item->setCheckState(PaletteColumn, Qt::Checked);
        } else {
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        }
        items.append(item);
    }
    m_rows->addTopLevelItems(items);
    m_rows->header()->setSectionResizeMode(QHeaderView::Interactive);
    m_rows->setColumnWidth(PaletteColumn, 220);
    m_rows->setColumnWidth(CardColumn, 150);
    m_rows->setColumnWidth(DeltaColumn, 60);
    if (!items.isEmpty())
        m_rows->setCurrentItem(items.first());

    auto *limitLabel = new QLabel(tr("&Largest \u0394E00 to take:"), this);
    limitLabel->setBuddy(m_limit);
    m_limit->setObjectName(QStringLiteral("largestDelta"));
    m_limit->setAccessibleName(tr("Largest \u0394E00 to take"));
    m_limit->setRange(0, 200);
    m_limit->setDecimals(2);
    m_limit->setSingleStep(1);
    double largest = 0;
    for (const PaletteImport::Row &row : plan.rows) {
        if (!row.byCode)
            largest = std::max(largest, row.deltaE);
    }
    m_limit->setValue(std::ceil(largest * 100) / 100);
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

    connect(m_limit, &QDoubleSpinBox::valueChanged, this, &ImportPreviewDialog::applyLimit);
    connect(m_rows, &QTreeWidget::itemChanged, this, &ImportPreviewDialog::updateCount);
    connect(m_import, &QPushButton::clicked, this, &ImportPreviewDialog::import);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    updateCount();
    m_rows->setFocus();
}

void ImportPreviewDialog::applyLimit()
{
    // Rows matched farther than the limit are unticked, nearer ones ticked
    // again: the limit decides, a tick changes one row.
    const double limit = m_limit->value();
    const QSignalBlocker block(m_rows);
    for (int i = 0; i < m_plan.rows.size(); ++i) {
        const PaletteImport::Row &row = m_plan.rows.at(i);
        if (!takeable(row) || row.byCode)
            continue;
        m_rows->topLevelItem(i)->setCheckState(PaletteColumn, row.deltaE > limit ? Qt::Unchecked : Qt::Checked);
    }
    updateCount();
}

void ImportPreviewDialog::updateCount()
{
    int ticked = 0;
    for (int i = 0; i < m_rows->topLevelItemCount(); ++i)
        ticked += m_rows->topLevelItem(i)->checkState(PaletteColumn) == Qt::Checked ? 1 : 0;
    m_count->setText(tr("%1 of %2 colours to import").arg(ticked).arg(m_plan.rows.size()));
}

void ImportPreviewDialog::import()
{
    QVector<bool> take(m_plan.rows.size());
    for (int i = 0; i < take.size(); ++i)
        take[i] = m_rows->topLevelItem(i)->checkState(PaletteColumn) == Qt::Checked;
    m_result = m_importer(take, m_limit->value());
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
