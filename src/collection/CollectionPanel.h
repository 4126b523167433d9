// SPDX-License-Identifier: MIT
#pragma once

#include "colour/PaletteEntry.h"
#include "data/CollectionTable.h"
#include "widgets/ControlMap.h"

#include <QColor>
#include <QObject>
#include <QVariant>
#include <QVector>

#include <functional>
#include <optional>

class CardTable;
class MovieControl;
class PictureBox;
class QLabel;
class QMenu;
class QTimer;
class TextBox;

// The collection panel, tart_pb(1): one collected colour at a time with its
// code, its position and the collection's size, stepping through the
// entries, adding the selected colour and deleting the entry shown. It runs
// the controls the window placed on the panel and keeps the collection's
// size and the entry shown.
class CollectionPanel : public QObject
{
    Q_OBJECT

public:
    // cardName: the card table that an added entry names.
    CollectionPanel(const ControlMap &controls, CollectionTable *entries, CardTable *colours,
                    const QString &cardName, QObject *parent = nullptr);

    void babyDef();
    void babyColorizer(int colorb_num);
    void nextb_swf_FSCommand(const QString &command, const QString &args);
    void previousb_swf_FSCommand(const QString &command, const QString &args);
    // Adds code (the selected colour, "" when none) to the collection.
    void addtoBaby(const QString &code);
    void babyDelete();
    // With the panel in front: shows the collection as it is now (after an
    // addition from elsewhere than the card panel), at the entry shown.
    void showAsItIsNow();

    // The number of entries, as last counted; null until counted.
    QVariant baby_max() const { return m_baby_max; }
    // The serial number of the entry shown; null when none is.
    QVariant shownEntry() const { return m_shown ? m_shown->sn : QVariant(); }

signals:
    // Something the user should know that is no failure of the program's:
    // the collection could not be changed, and why; what was copied or
    // exported.
    void notice(const QString &text);
    // What notice() said last is a refusal (nothing was changed, or a file
    // not written): it stays until the user's next action.
    void refused();
    // The user asked for the dialog that finds the nearest card colour.
    void findColourRequested();
    // A change to tell a screen reader (an entry added, skipped or
    // deleted), with nothing more shown on screen.
    void announce(const QString &text);

public:
    // Writes the collection, or the whole card, to path as a palette file.
    void exportTo(const QString &path, bool wholeCard);
    // Adds the colours of a palette file to the collection.
    void importFrom(const QString &path);
    // Puts the entry deleted last back at its place; deletes it again.
    void undoDelete();
    void redoDelete();
    // Adds to menu what undo and redo would do now, if anything.
    void addUndoEntries(QMenu *menu);
    // The panel's context menu (deleted when closed).
    QMenu *contextMenu();
    // What the window adds at the end of the panel's context menu.
    void setMenuEnd(const std::function<void(QMenu *)> &end) { m_menuEnd = end; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showEntryColour(const std::optional<QColor> &colour);
    // The code's background and the three buttons of an entry shown.
    void showEntryControls();
    // While the empty panel is in front: shows the first entry once the
    // file holds one.
    void checkWhileEmpty();
    // Tells a screen reader the entry shown: its position and code.
    void announceShown();
    // Tells the user why the collection was not changed (code: the colour
    // an addition was for), or could not be read just then.
    void reportRefusal(WriteRefusal refusal, const QString &code = QString());
    // The collection's count in the file now; false, after telling the
    // user, when another program holds the file.
    bool recount();
    void showContextMenu(const QPoint &globalPos, bool byKeyboard = false);
    // Left, Right and Delete while the panel or its colour has the
    // keyboard; true when handled.
    bool handleKey(int key, Qt::KeyboardModifiers modifiers);
    void askAndExport(bool wholeCard);
    void askAndSavePdf();
    void askAndPrint();
    void askAndCheckVision();
    // The whole collection read on a cursor of its own, as one user action;
    // nothing, with the refusal told, when the file would not give it.
    std::optional<QVector<PaletteEntry>> readWholeCollection();
    // What a screen reader hears of the entry shown: "Entry 3 of 11,
    // K8.04.43, dark greyish green" ("no colour" for an entry not on the
    // card), or that the collection is empty.
    QString shownWords() const;
    void askAndImport();

    CollectionTable *m_entries;
    CardTable *m_colours;
    QString m_cardName;

    PictureBox *panel;
    PictureBox *baby_color;
    TextBox *baby_code;
    TextBox *baby_num;
    QLabel *baby_nummax;
    MovieControl *nextb_swf;
    MovieControl *previousb_swf;
    MovieControl *deleteb_swf;
    QTimer *m_emptyWatch;

    QVariant m_baby_max;
    // The entry shown, as read: a delete removes that row and no other.
    std::optional<CollectionEntry> m_shown;
    // The entry deleted last, which Ctrl+Z restores; the one restored last,
    // which Ctrl+Shift+Z deletes again.
    std::optional<CollectionEntry> m_undo;
    std::optional<CollectionEntry> m_redo;
    std::optional<QColor> m_shownColour;  // none when unknown
    std::function<void(QMenu *)> m_menuEnd;
};
