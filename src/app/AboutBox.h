// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QLabel;

// What the program is: its version and licence, and where the collection
// lives, with a button that opens that folder in the file manager. Reached
// from the context menus, as the window has no menu bar.
class AboutBox : public QDialog
{
    Q_OBJECT

public:
    // databasePath: the file the collection is kept in.
    explicit AboutBox(const QString &databasePath, QWidget *parent = nullptr);

    // The folder the collection's file lies in.
    QString folder() const { return m_folder; }
    QString text() const;

private:
    QString m_folder;
    QLabel *m_text;
};
