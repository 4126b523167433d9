// SPDX-License-Identifier: MIT
#include "collection/VisionCheckDialog.h"

#include "platform/ScreenColour.h"
#include "widgets/SwatchIcon.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSaveFile>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// Two colours side by side, as the screen shows them.
QIcon pairIcon(QRgb first, QRgb second)
{
    QPixmap pixmap(36, 16);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    painter.fillRect(0, 0, 17, 16, ScreenColour::of(QColor::fromRgb(first)));
    painter.fillRect(19, 0, 17, 16, ScreenColour::of(QColor::fromRgb(second)));
    painter.end();
    // The colours as they are on a selected row too, never tinted.
    return SwatchIcon::untinted(pixmap);
}

QString number(double value)
{
    return QString::number(value, 'f', 1);
}

} // namespace

VisionCheckDialog::VisionCheckDialog(const QStringList &codes, const QVector<QRgb> &colours, QWidget *parent)
    : QDialog(parent), m_codes(codes), m_colours(colours), m_pairs(VisionCheck::confusions(colours)),
      m_summary(new QLabel(this)), m_list(new QTreeWidget(this))
{
    setWindowTitle(tr("Check for colour-blind viewers"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_summary->setWordWrap(true);
    const QString thresholds = tr("below \u0394E00 %1 as they see them, %2 or more apart in normal vision")
                                   .arg(VisionCheck::confusedBelow)
                                   .arg(VisionCheck::distinctFrom);
    if (m_pairs.isEmpty())
        m_summary->setText(tr("No two collected colours look alike to people with protanopia, deuteranopia, "
                              "tritanopia or achromatopsia: none is %1.")
                               .arg(thresholds));
    else if (m_pairs.size() == 1)
        m_summary->setText(tr("1 pair of collected colours looks alike to colour-blind viewers (%1).").arg(thresholds));
    else
        m_summary->setText(tr("%1 pairs of collected colours look alike to colour-blind viewers (%2).")
                               .arg(m_pairs.size())
                               .arg(thresholds));

    m_list->setAccessibleName(tr("Colours that look alike"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setIconSize(QSize(36, 16));
    m_list->setHeaderLabels({tr("Vision"), tr("As seen"), tr("As they are"), tr("Codes"), tr("\u0394E00 seen"),
                             tr("\u0394E00 normal")});
    for (const VisionCheck::Pair &p : m_pairs) {
        const QString vision = VisionSimulation::title({p.deficiency, 1.0});
        const QString first = m_codes.at(p.first);
        const QString second = m_codes.at(p.second);
        auto *item = new QTreeWidgetItem(m_list);
        item->setText(0, vision);
        item->setIcon(1, pairIcon(p.firstSeen, p.secondSeen));
        item->setIcon(2, pairIcon(m_colours.at(p.first), m_colours.at(p.second)));
        item->setText(3, first + QStringLiteral(" / ") + second);
        item->setText(4, number(p.seenDeltaE));
        item->setText(5, number(p.normalDeltaE));
        // A screen reader reads a row by its first cell's name: the row whole.
        item->setData(0, Qt::AccessibleTextRole,
                      tr("%1: %2 and %3 look alike, delta E %4 as seen, %5 in normal vision")
                          .arg(vision, first, second, number(p.seenDeltaE), number(p.normalDeltaE)));
    }
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_list->setVisible(!m_pairs.isEmpty());
    if (!m_pairs.isEmpty())
        m_list->setCurrentItem(m_list->topLevelItem(0));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton *save = buttons->addButton(tr("Export as CSV\u2026"), QDialogButtonBox::ActionRole);
    save->setEnabled(!m_pairs.isEmpty());
    connect(save, &QPushButton::clicked, this, &VisionCheckDialog::exportCsv);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
    resize(560, m_pairs.isEmpty() ? 120 : 360);
    // The keyboard starts on the first pair, or on Close when there is none.
    if (!m_pairs.isEmpty())
        m_list->setFocus(Qt::OtherFocusReason);
}

void VisionCheckDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_pairs.isEmpty())
        return;
    // A screen reader hears the list take the focus, but not its current
    // row: the row made current again once the list has the focus is.
    QTimer::singleShot(200, this, [this] {
        if (!m_list->hasFocus())
            return;
        QTreeWidgetItem *first = m_list->currentItem();
        m_list->setCurrentItem(nullptr);
        m_list->setCurrentItem(first);
    });
}

QByteArray VisionCheckDialog::csv() const
{
    return VisionCheck::csv(m_pairs, m_codes, m_colours);
}

void VisionCheckDialog::exportCsv()
{
    QString path = QFileDialog::getSaveFileName(this, tr("Export the colours that look alike"),
                                                QDir::home().filePath(QStringLiteral("colour-blind-check.csv")),
                                                tr("Comma-separated values (*.csv)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        path += QLatin1String(".csv");
    const QByteArray data = csv();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        emit notice(tr("%1 could not be written: %2").arg(path, file.errorString()));
        return;
    }
    emit notice(m_pairs.size() == 1 ? tr("Exported 1 pair to %1.").arg(path)
                                    : tr("Exported %1 pairs to %2.").arg(m_pairs.size()).arg(path));
}
