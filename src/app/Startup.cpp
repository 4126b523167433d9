// SPDX-License-Identifier: MIT
#include "app/Form1.h"

#include "app/ProgramFiles.h"
#include "card/CardPanel.h"
#include "data/CardTable.h"
#include "data/CollectionTable.h"
#include "widgets/MovieControl.h"
#include "widgets/TextBox.h"

#include <QDir>
#include <QApplication>
#include <QTimer>
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

// The intro dismisses itself after about three seconds.
constexpr int introLongestMs = 5000;

} // namespace

void Form1::Form_Load()
{
    m_lang = QStringLiteral("eueng");

    for (const EntryColour &e : entryColours) {
        qobject_cast<TextBox *>(control(QLatin1String(e.control)))
            ->setBackColor(QColor(e.red, e.green, e.blue));
    }
    for (const Caption &c : captions) {
        if (m_lang == QLatin1String(c.lang))
            qobject_cast<QLabel *>(control(QStringLiteral("e_label(%1)").arg(c.label)))
                ->setText(QString::fromLatin1(c.text));
    }

    const QDir folder(m_programFolder);
    for (const MovieFile &m : movieFiles) {
        auto *movie = qobject_cast<MovieControl *>(control(QLatin1String(m.control)));
        movie->setFallbackMovie(ProgramFiles::builtInCopy(QLatin1String(m.path)));
        movie->setMovie(folder.filePath(QLatin1String(m.path)));
    }
    // The intro never covers the window for good: one that cannot be drawn
    // goes at once, and one that has not dismissed itself by then goes
    // after a while.
    auto *intro = qobject_cast<MovieControl *>(control(QStringLiteral("intro_swf")));
    if (!intro->isLoaded())
        intro->hide();
    QTimer::singleShot(introLongestMs, intro, &QWidget::hide);
    // Keys typed while it is shown only dismiss it.
    if (intro->isVisibleTo(this))
        qApp->installEventFilter(this);

    const QString database = m_databasePath.isEmpty() ? folder.filePath(QLatin1String(databaseFile))
                                                       : m_databasePath;
    m_cardTable->open(database);
    // Without the highest page the card cannot be paged: start-up stops,
    // and the program says why (main).
    m_cardRead = m_card->readHighestPage();
    if (!m_cardRead)
        return;
    m_collectionTable->open(database);
    m_card->PageLoad(1);
}
