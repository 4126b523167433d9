// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include <memory>

class CardTable;
class NearestColours;
class QLabel;
class QLineEdit;
class QMenu;
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
    // The code of the listed colour the user is on; "" when none.
    QString current() const;
    // Add and copy for the colour the user is on (buttons, keys, menu).
    void addChosen();
    void copyChosen();
    // The list's context menu for that colour (deleted when closed); null
    // when none is listed.
    QMenu *contextMenu();
    // Moves the dialog beside window where the screen has room for it.
    void placeBeside(const QWidget *window);

signals:
    // The user chose a listed colour.
    void chosen(const QString &code);
    // The user asked to add code to the collection.
    void addRequested(const QString &code);
    // Something to tell the user: what was copied.
    void said(const QString &text);

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
