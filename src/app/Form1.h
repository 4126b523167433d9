// SPDX-License-Identifier: MIT
#pragma once

#include <QHash>
#include <QPixmap>
#include <QWidget>

class AboutBox;
class CardPanel;
class CardTable;
class CollectionPanel;
class CollectionTable;
class FindColourDialog;
class Notice;
class VisionChoice;
class QMenu;

// The program's one window, a shell over two panels: it creates every
// control from the layout table, gives them their first properties and tab
// order, runs start-up, and routes the movies' commands to the panel that
// acts on them. The card panel (tart_pb(0)) and the collection panel
// (tart_pb(1)) own their controls' behaviour and their state.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    // programFolder: the folder holding the movies; databasePath: the
    // database file, dbtsl.db in programFolder when empty.
    explicit Form1(const QString &programFolder, const QString &databasePath = QString(),
                   QWidget *parent = nullptr);
    ~Form1() override;

    QString programFolder() const { return m_programFolder; }
    // Whether start-up read the card: false when another program held the
    // file past the wait, and the window cannot be used.
    bool cardRead() const { return m_cardRead; }

    // Any control by name ("pagen_text") or array element ("tart_pb(1)",
    // "pagecolor(3)"); null when there is none of that name.
    QObject *control(const QString &name) const;

    CardPanel *cardPanel() const { return m_card; }
    CollectionPanel *collectionPanel() const { return m_collection; }

    // The interface language.
    QString lang() const { return m_lang; }

    // Tells the user something that is not fatal, for a few seconds over
    // the window; a screen reader reads it from the window's status bar.
    void showNotice(const QString &text);
    // The same for what was refused: it stays until the user's next key
    // or click.
    void showRefusal(const QString &text);
    // Tells a screen reader a change, showing nothing on screen: as a
    // notification it reads wherever the keyboard is, and through the
    // status bar's name.
    void announce(const QString &text);

    // Opens the dialog that finds the nearest card colour (one at a time);
    // null, said to the user, when another program kept the card from being
    // read.
    FindColourDialog *findColour();
    // Shows what the program is and where the collection lives.
    AboutBox *about();

    // Movie commands the window handles itself.
    void intro_swf_FSCommand(const QString &command, const QString &args);
    void palettac_FSCommand(const QString &command, const QString &args);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void applyProperties();
    void applyTabOrder();
    void connectMovieCommands();
    // Names, buddies and announcements for screen readers.
    void setUpAccessibility();
    // Tells a screen reader text as a notification.
    void speak(const QString &text);
    // The page each palette sector opens, as the palette's note for it.
    void notePalettePages();
    void Form_Load();
    bool m_cardRead = false;
    // Keys that act outside the page box and the code fields.
    bool isTyping() const;
    void copySelectedCode();
    // Adds the card panel's selected colour to the collection.
    void addSelectedColour();
    // Brings panel 0 (card) or 1 (collection) forward, as the palette's
    // tabs do, and gives it the keyboard.
    void bringPanelForward(int panel);
    void addAboutEntry(QMenu *menu);
    // Shift+F10: the context menu of what has the keyboard, as the Menu
    // key opens it.
    void openContextMenuByKeyboard();

    QString m_programFolder;
    QString m_databasePath;
    Notice *m_notice = nullptr;
    FindColourDialog *m_findColour = nullptr;
    AboutBox *m_about = nullptr;
    VisionChoice *m_vision = nullptr;
    QString m_lang;
    QHash<QString, QObject *> m_controls;
    QPixmap m_windowPicture;
    CardTable *m_cardTable = nullptr;
    CollectionTable *m_collectionTable = nullptr;
    CardPanel *m_card = nullptr;
    CollectionPanel *m_collection = nullptr;
};
