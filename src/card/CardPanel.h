// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

#include "widgets/ControlArray.h"
#include "widgets/ControlMap.h"

#include <QObject>
#include <QVariant>

class CardTable;
class QKeyEvent;
class QMenu;
class SwatchColumn;
class PictureBox;
class Swatch;
class TextBox;

// The card panel, tart_pb(0): the page view, page navigation, the three
// code fields and the code lookup. It runs the controls the window placed
// on the panel and keeps the card's state: the highest page, the page shown,
// the selected code and whether the next key in a code field starts a new
// code.
class CardPanel : public QObject
{
    Q_OBJECT

public:
    CardPanel(const ControlMap &controls, CardTable *card, QObject *parent = nullptr);

    // Reads the highest page number of the card; false when another
    // program kept the file past the wait.
    bool readHighestPage();

    // Page view.
    void PageLoad(qint64 pagenum);
    void pageMove(qint64 pagenum);
    void pageDisp(int rowns);

    // Page navigation.
    void next_swf_FSCommand(const QString &command, const QString &args);
    void previous_swf_FSCommand(const QString &command, const QString &args);
    void pagen_text_KeyPress(int &keyAscii);
    void pagecolor_Click(int index);

    // Code fields and lookup.
    void findcode_KeyDown();
    void findcode_KeyPress(int &keyAscii);
    void findcode_KeyUp(TextBox *field);
    void enterCode();

    // The code of the selected colour, "" when none.
    QString color_a() const { return m_color_a; }
    // 0: the next key in a code field starts a new code.
    qint16 icode_char() const { return m_icode_char; }
    // The highest page number, as the database gave it.
    QVariant pagenx() const { return m_pagenx; }
    // The page whose swatches stand in the column.
    qint64 pageShown() const { return m_pageShown; }
    // The swatch at index (1 and up), or the template (0); null if none.
    Swatch *swatch(int index) const { return pagecolor(index); }
    // The indexes of pagecolor: the template 0 and the swatches shown.
    QList<int> pagecolorIndexes() const { return pagecolor.indexes(); }
    int swatchCount() const { return pagecolor.count() - 1; }
    // The index of the swatch showing code on the page shown; 0 if none.
    int indexOf(const QString &code) const;
    // Shows code's page and frames its swatch as the code lookup does,
    // making it the selected colour; the code fields are left as they are.
    void frameCode(const QString &code);
    // The one Tab stop of the swatch column.
    QWidget *swatchColumn() const;
    // The panel's context menu (deleted when closed), every entry acting on
    // swatch, the one it is opened on (null: none).
    QMenu *contextMenu(Swatch *swatch);
    // What the window adds at the end of the panel's context menu.
    void setMenuEnd(const std::function<void(QMenu *)> &end) { m_menuEnd = end; }

signals:
    // Something to tell the user that changes nothing on the card: what
    // was copied.
    void notice(const QString &text);
    // The user asked for the dialog that finds the nearest card colour.
    void findColourRequested();
    // The user asked, by keyboard, to add the framed colour.
    void addRequested();
    // The user asked to add code, the colour a context menu was opened on.
    void addColourRequested(const QString &code);
    // A change to tell a screen reader (the page shown, a code found or
    // not), with nothing more shown on screen.
    void announce(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void removeSwatches();
    void showContextMenu(const QPoint &globalPos, Swatch *swatch, bool byKeyboard = false);
    // The keys of the panel and its swatch column; true when handled.
    bool handleKey(const QKeyEvent *event);

    CardTable *m_card;
    ControlArray<Swatch> pagecolor;
    QWidget *m_swatches = nullptr;  // the column the swatches of the page stand in
    PictureBox *pageselect;
    PictureBox *pagecs;
    TextBox *pagen_text;
    TextBox *findcode_txt1;
    TextBox *findcode_txt2;
    TextBox *findcode_txt3;
    QWidget *m_panel;
    SwatchColumn *m_column;

    std::function<void(QMenu *)> m_menuEnd;
    QVariant m_pagenx;
    QString m_color_a;
    qint16 m_icode_char = 0;
    qint64 m_pageShown = 0;
    int m_framed = 0;  // the swatch in the frame; 0: none
    bool m_holdFocusAtKeyUp = false;  // the next key release in a code field keeps the focus
    TextBox *m_keyDownIn = nullptr;  // the code field the last key went down in
};
