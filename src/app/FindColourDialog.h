// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include <memory>

class CardTable;
class NearestColours;
class QLabel;
class QLineEdit;
class QMenu;
class QTimer;
class QTreeWidget;

// A small dialog that finds the card colours nearest a colour the user has
// from elsewhere: a code in any case, #rrggbb, rrggbb, rgb(r, g, b),
// "R G B", or a pixel picked from the screen. It lists the nearest by
// CIEDE2000, best first, with their ΔE, as the user types (after a pause)
// or presses Enter; choosing one reports its code. The card's colours are
// read once, when the dialog is made: a key never waits for the database.
class FindColourDialog : public QDialog
{
    Q_OBJECT

public:
    FindColourDialog(CardTable *card, QWidget *parent = nullptr);
    ~FindColourDialog() override;

    // Looks text up as if the user had typed it and pressed Enter, without
    // choosing.
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
    // Lists the colours nearest text. While the user types, text that is
    // the start of a colour lists nothing and says nothing.
    void lookUp(const QString &text, bool typing);
    // Enter in the colour's box: what was typed is looked up now if it was
    // not yet, and the colour the user is on chosen.
    void enter();
    void pickFromScreen();

    std::unique_ptr<NearestColours> m_search;
    QLineEdit *m_input;
    QTreeWidget *m_list;
    QLabel *m_status;
    // Runs out a pause after the last key.
    QTimer *m_typing;
    // The text the list shows the colours for; "" when it shows none.
    QString m_listedFor;
    bool m_picking = false;
};
