// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QLabel;
class QProcess;
class QTimer;

// What the program is: its version and licence, and where the collection
// lives, the path selectable and with a button that copies it, and a
// button that opens its folder through xdg-open. Whether xdg-open did is
// said in the box: where no file manager is installed it ends with a
// failure, or cannot be started at all. Reached from the context menus, as
// the window has no menu bar.
class AboutBox : public QDialog
{
    Q_OBJECT

public:
    // databasePath: the file the collection is kept in.
    explicit AboutBox(const QString &databasePath, QWidget *parent = nullptr);
    ~AboutBox() override;

    // The folder the collection's file lies in.
    QString folder() const { return m_folder; }
    QString text() const;
    // What the box says of the last opening or copy; "" when nothing.
    QString outcome() const;

    // Opens the folder, as its button does.
    void openFolder();
    // Whether xdg-open is still watched.
    bool opening() const { return m_opener != nullptr; }
    // Copies the collection's path, as its button does.
    void copyPath();

private:
    // xdg-open is done with: opened or not, and why not.
    void opened(bool ok, const QString &why);

    QString m_path;
    QString m_folder;
    QLabel *m_text;
    QLabel *m_outcome;
    QProcess *m_opener = nullptr;
    // Runs while xdg-open is watched.
    QTimer *m_watch;
};
