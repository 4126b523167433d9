// SPDX-License-Identifier: MIT
#pragma once

#include "colour/VisionCheck.h"

#include <QDialog>
#include <QStringList>
#include <QVector>

class QLabel;
class QTreeWidget;

// The collected colours a colour-blind viewer cannot tell apart: for each
// deficiency the confused pairs, both swatches as that eye sees them and as
// they are, both codes and both differences, a row a pair that a screen
// reader reads whole; exportable as CSV. With no such pair it says so.
class VisionCheckDialog : public QDialog
{
    Q_OBJECT

public:
    // codes and colours: the collected colours, in the collection's order.
    VisionCheckDialog(const QStringList &codes, const QVector<QRgb> &colours, QWidget *parent = nullptr);

    const QVector<VisionCheck::Pair> &pairs() const { return m_pairs; }
    QTreeWidget *list() const { return m_list; }
    // The CSV the export writes.
    QByteArray csv() const;

protected:
    void showEvent(QShowEvent *event) override;

signals:
    // What an export came to, for the window's notice.
    void notice(const QString &text);

private:
    void exportCsv();

    QStringList m_codes;
    QVector<QRgb> m_colours;
    QVector<VisionCheck::Pair> m_pairs;
    QLabel *m_summary;
    QTreeWidget *m_list;
};
