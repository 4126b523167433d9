#pragma once

#include "widgets/ControlArray.h"

#include <QHash>
#include <QPixmap>
#include <QVariant>
#include <QWidget>

class DataCursor;
class MovieControl;
class PictureBox;
class QLabel;
class Swatch;
class TextBox;

// The program's one window: it owns every control and the state variables
// through which the handlers share values from one event to the next. Its
// behaviour is defined beside each subsystem: start-up and layout in app/,
// the page view and navigation in pages/, the code search in search/, the
// collection in collection/, and the movie command routing and palette in
// movies/.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    // programFolder: the folder holding the database and the movies.
    explicit Form1(const QString &programFolder, QWidget *parent = nullptr);
    ~Form1() override;

    QString programFolder() const { return m_programFolder; }

    // Any control by name ("pagen_text") or array element ("tart_pb(1)").
    QObject *control(const QString &name) const { return m_controls.value(name); }

    // --- Controls -------------------------------------------------------
    MovieControl *intro_swf = nullptr;
    MovieControl *palettac = nullptr;
    MovieControl *next_swf = nullptr;
    MovieControl *previous_swf = nullptr;
    MovieControl *nextb_swf = nullptr;
    MovieControl *previousb_swf = nullptr;
    MovieControl *addtobaby_swf = nullptr;
    MovieControl *deleteb_swf = nullptr;

    ControlArray<PictureBox> tart_pb;   // 0 card panel, 1 collection panel
    ControlArray<Swatch> pagecolor;     // 0 template, 1.. swatches of the page
    PictureBox *baby_color = nullptr;
    PictureBox *pageselect = nullptr;
    PictureBox *pagecs = nullptr;

    TextBox *pagen_text = nullptr;
    TextBox *findcode_txt1 = nullptr;
    TextBox *findcode_txt2 = nullptr;
    TextBox *findcode_txt3 = nullptr;
    TextBox *baby_code = nullptr;
    TextBox *baby_num = nullptr;

    QLabel *baby_nummax = nullptr;
    ControlArray<QLabel> codedot_lb;
    ControlArray<QLabel> e_label;
    ControlArray<QLabel> lab_dlt;

    DataCursor *data1 = nullptr;    // the card table
    DataCursor *Adodc1 = nullptr;   // the collection
    DataCursor *Adodc2 = nullptr;   // the colour of a collection entry

    // --- State variables ------------------------------------------------
    QString lang;          // interface language
    QString ccc;           // this card's table name
    QVariant pagenx;       // highest page number, as the database gave it
    QString color_a;       // code of the selected colour, "" when none
    qint16 icode_char = 0; // 0: the next key in a code field starts afresh
    QVariant baby_max;     // entries in the collection; null until counted

    // --- Start-up (app/) --------------------------------------------------
    void Form_Load();

    // --- Page view and navigation (pages/) ------------------------------
    void PageLoad(qint64 pagenum);
    void pageMove(qint64 pagenum);
    void pageDisp(int rowns);
    void next_swf_FSCommand(const QString &command, const QString &args);
    void previous_swf_FSCommand(const QString &command, const QString &args);
    void pagen_text_KeyPress(int &keyAscii);
    void pagecolor_Click(int index);

    // --- Code search (search/) ------------------------------------------
    void findcode_KeyDown();
    void findcode_KeyPress(int &keyAscii);
    void findcode_KeyUp(TextBox *field);
    void enterCode();

    // --- Collection (collection/) ---------------------------------------
    void babyDef();
    void babyColorizer(int colorb_num);
    void nextb_swf_FSCommand(const QString &command, const QString &args);
    void previousb_swf_FSCommand(const QString &command, const QString &args);
    void addtoBaby();
    void babyDelete();
    void addtobaby_swf_FSCommand(const QString &command, const QString &args);
    void deleteb_swf_FSCommand(const QString &command, const QString &args);

    // --- Movie commands and palette (movies/) ---------------------------
    void intro_swf_FSCommand(const QString &command, const QString &args);
    void palettac_FSCommand(const QString &command, const QString &args);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void createControls();
    void applyProperties();
    void applyTabOrder();
    void connectHandlers();
    void connectMovieCommands();
    void showEntryColour(const QString &table, const QString &code);

    QString m_programFolder;
    qint64 m_pageShown = 0;  // the page whose swatches stand in the column
    QVariant m_shownEntry;   // sn of the collection entry shown; null: none
    QHash<QString, QObject *> m_controls;
    QPixmap m_windowPicture;
};
