// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include <memory>

class CardTable;
class NearestColours;
class QLabel;
class QLineEdit;
class QTreeWidget;

// A small dialog that finds the card colours nearest a colour the user has
// from elsewhere: a code in any case, #rrggbb, rrggbb, rgb(r, g, b),
// "R G B", or a pixel picked from the screen. It lists the nearest by
// CIEDE2000, best first, with their ΔE; choosing one reports its code.
class FindColourDialog : public QDialog
{
    Q_OBJECT

public:
    FindColourDialog(CardTable *card, QWidget *parent = nullptr);
    ~FindColourDialog() override;

    // Looks text up as if the user had typed it.
    void search(const QString &text);
    // The codes listed, best first.
    QStringList listed() const;

signals:
    // The user chose a listed colour.
    void chosen(const QString &code);

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    void pickFromScreen();

    std::unique_ptr<NearestColours> m_search;
    QLineEdit *m_input;
    QTreeWidget *m_list;
    QLabel *m_status;
    bool m_picking = false;
};
