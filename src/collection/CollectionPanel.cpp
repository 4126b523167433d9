#include "collection/CollectionPanel.h"

#include "data/CardTable.h"
#include "data/CollectionTable.h"
#include "data/UserAction.h"
#include "widgets/MovieControl.h"
#include "widgets/PictureBox.h"
#include "widgets/TextBox.h"

#include <QLabel>

namespace {

const QColor shownCodeBack(230, 230, 230);
const QColor emptyBack(255, 255, 255);

// A position as the panel shows it; anything else counts as 0.
int positionIn(const TextBox *box)
{
    return box->text().toInt();
}

} // namespace

CollectionPanel::CollectionPanel(const ControlMap &controls, CollectionTable *entries,
                                 CardTable *colours, const QString &cardName, QObject *parent)
    : QObject(parent), m_entries(entries), m_colours(colours), m_cardName(cardName),
      panel(controlOf<PictureBox>(controls, "tart_pb(1)")),
      baby_color(controlOf<PictureBox>(controls, "baby_color")),
      baby_code(controlOf<TextBox>(controls, "baby_code")),
      baby_num(controlOf<TextBox>(controls, "baby_num")),
      baby_nummax(controlOf<QLabel>(controls, "baby_nummax")),
      nextb_swf(controlOf<MovieControl>(controls, "nextb_swf")),
      previousb_swf(controlOf<MovieControl>(controls, "previousb_swf")),
      deleteb_swf(controlOf<MovieControl>(controls, "deleteb_swf"))
{
}

// --- Viewer --------------------------------------------------------------

bool CollectionPanel::recount()
{
    // Counted in the file as it is now, other programs' commits included:
    // a check of the file's version while nothing changed.
    const int count = m_entries->count();
    if (m_entries->refusal() == WriteRefusal::Busy) {
        reportRefusal();
        return false;
    }
    m_baby_max = count;
    return true;
}

void CollectionPanel::babyDef()
{
    const UserAction action;
    // A file another program holds leaves the panel as it is.
    if (!recount())
        return;
    baby_code->setBackColor(shownCodeBack);
    nextb_swf->show();
    previousb_swf->show();
    deleteb_swf->show();

    if (m_baby_max.toInt() != 0) {
        babyColorizer(1);
        return;
    }

    nextb_swf->hide();
    previousb_swf->hide();
    deleteb_swf->hide();
    baby_nummax->setText(QStringLiteral("/%1").arg(m_baby_max.toInt()));
    baby_num->setText(QStringLiteral("0"));
    baby_color->setBackColor(emptyBack);
    baby_code->setBackColor(emptyBack);
    baby_code->setText(QString());
    m_shown.reset();
}

void CollectionPanel::babyColorizer(int colorb_num)
{
    const UserAction action;
    if (!recount())
        return;
    // Past the end (after the last entry was deleted, here or by another
    // program) shows the new last.
    if (colorb_num > m_baby_max.toInt())
        colorb_num = m_baby_max.toInt();
    if (colorb_num <= 0) {
        babyDef();
        return;
    }

    const CollectionEntry entry = m_entries->at(colorb_num);
    if (m_entries->refusal() == WriteRefusal::Busy) {
        reportRefusal();
        return;
    }
    m_shown = entry;

    showEntryColour(entry.table, entry.code);
    baby_nummax->setText(QStringLiteral("/%1").arg(m_baby_max.toInt()));
    baby_code->setText(entry.code);
    baby_num->setText(QString::number(colorb_num));
}

void CollectionPanel::showEntryColour(const QString &table, const QString &code)
{
    // An entry whose card table or code cannot be found has no colour to
    // show: its box is marked unknown, and the collection stays usable.
    if (const std::optional<QColor> colour = m_colours->colourOf(table, code))
        baby_color->setBackColor(*colour);
    else
        baby_color->setUnknown(true);
}

void CollectionPanel::nextb_swf_FSCommand(const QString &, const QString &)
{
    const UserAction action;
    if (!recount())
        return;
    int position = positionIn(baby_num) + 1;
    if (position > m_baby_max.toInt())
        position = 1;
    babyColorizer(position);
}

void CollectionPanel::previousb_swf_FSCommand(const QString &, const QString &)
{
    const UserAction action;
    if (!recount())
        return;
    int position = positionIn(baby_num) - 1;
    if (position < 1)
        position = m_baby_max.toInt();
    babyColorizer(position);
}

// --- Editing -------------------------------------------------------------

void CollectionPanel::reportRefusal(const QString &code)
{
    const QString file = m_entries->databasePath();
    switch (m_entries->refusal()) {
    case WriteRefusal::None:
        return;
    case WriteRefusal::ReadOnly:
        emit notice(tr("The collection cannot be changed: %1 is read-only.").arg(file));
        return;
    case WriteRefusal::Moved:
        emit notice(tr("The collection cannot be changed: %1 was deleted or replaced by another program.").arg(file));
        return;
    case WriteRefusal::Busy:
        emit notice(tr("The collection is in use by another program; try again."));
        return;
    case WriteRefusal::Gone:
        emit notice(tr("That entry was already removed by another program."));
        return;
    case WriteRefusal::Skipped:
        emit notice(tr("%1 was not added: the collection's file did not take it.").arg(code));
        return;
    case WriteRefusal::NoKey:
        emit notice(tr("The collection cannot be changed: its entries have no serial numbers of their own (sn)."));
        return;
    }
}

void CollectionPanel::addtoBaby(const QString &code)
{
    if (code.isEmpty())
        return;
    const UserAction action;

    // A colour is collected once: its code, compared exactly, may stand in
    // no row of the collection, whichever card the row names. An addition
    // counts only when the file made the row.
    if (!m_entries->contains(code) && !m_entries->add(m_cardName, code))
        reportRefusal(code);
    // Until the collection is shown again, delete has nothing to act on.
    m_shown.reset();
}

void CollectionPanel::babyDelete()
{
    // Only the entry the panel shows can be deleted: the row with its
    // serial number, table and code, wherever it stands now.
    if (panel->isHidden() || !m_shown)
        return;
    const UserAction action;
    const bool removed = m_entries->remove(*m_shown);
    const WriteRefusal refusal = m_entries->refusal();
    reportRefusal();
    // Deleted here or by another program meanwhile: the panel shows what
    // now stands at that position.
    if (!removed && refusal != WriteRefusal::Gone)
        return;
    m_shown.reset();
    babyColorizer(positionIn(baby_num));
}
