#include "app/Form1.h"

#include "widgets/TextBox.h"
#include "data/DataCursor.h"
#include "data/Recordset.h"
#include "data/Statements.h"
#include "widgets/MovieControl.h"

#include <QDir>
#include <QLabel>

namespace {

// The movie each control plays, relative to the program folder. The two
// "next" controls share one movie, and so do the two "previous" controls.
struct MovieFile
{
    const char *control;
    const char *path;
};
const MovieFile movieFiles[] = {
    {"intro_swf", "swf/borit.svg"},
    {"palettac", "swf/kor.svg"},
    {"next_swf", "swf/n.svg"},
    {"previous_swf", "swf/p.svg"},
    {"nextb_swf", "swf/n.svg"},
    {"previousb_swf", "swf/p.svg"},
    {"addtobaby_swf", "swf/addtb.svg"},
    {"deleteb_swf", "swf/del.svg"},
};

// The entry boxes' back colours, matching the boxes drawn behind them.
struct EntryColour
{
    const char *control;
    int red, green, blue;
};
const EntryColour entryColours[] = {
    {"pagen_text", 230, 230, 230},
    {"findcode_txt1", 238, 238, 238},
    {"findcode_txt2", 238, 238, 238},
    {"findcode_txt3", 238, 238, 238},
    {"baby_code", 230, 230, 230},
    {"baby_num", 230, 230, 230},
};

// Captions of the card panel's labels, by interface language.
struct Caption
{
    const char *lang;
    int label;  // element of e_label
    const char *text;
};
const Caption captions[] = {
    {"eueng", 1, "Page No.:"},
    {"eueng", 2, "Enter Code"},
};

const char *const databaseFile = "dbtsl.db";

} // namespace

void Form1::Form_Load()
{
    icode_char = 0;
    ccc = QStringLiteral("5327");
    lang = QStringLiteral("eueng");

    for (const EntryColour &e : entryColours) {
        qobject_cast<TextBox *>(control(QLatin1String(e.control)))
            ->setBackColor(QColor(e.red, e.green, e.blue));
    }
    for (const Caption &c : captions) {
        if (lang == QLatin1String(c.lang))
            e_label(c.label)->setText(QString::fromLatin1(c.text));
    }

    const QDir folder(m_programFolder);
    for (const MovieFile &m : movieFiles) {
        qobject_cast<MovieControl *>(control(QLatin1String(m.control)))
            ->setMovie(folder.filePath(QLatin1String(m.path)));
    }

    const QString connection = DataCursor::connectionFor(folder.filePath(QLatin1String(databaseFile)));
    data1->setConnectionString(connection);
    data1->setRecordSource(Statements::highestPage(ccc));
    data1->Refresh();
    pagenx = data1->recordset().field(QStringLiteral("Expr1000"));

    Adodc1->setConnectionString(connection);
    Adodc1->setRecordSource(Statements::collection());
    Adodc1->Refresh();

    Adodc2->setConnectionString(connection);

    PageLoad(1);
}
