// SPDX-License-Identifier: MIT
#include "collection/CollectionPanel.h"

#include "data/CardTable.h"
#include "data/CollectionTable.h"
#include "data/DataCursor.h"
#include "data/UserAction.h"
#include "widgets/MovieControl.h"
#include "widgets/PictureBox.h"
#include "widgets/TextBox.h"

#include "collection/PaletteExport.h"
#include "collection/PaletteImport.h"
#include "collection/SwatchSheet.h"
#include "widgets/CopyMenu.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>

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
    // The colour box leaves its context menu to the panel, and the panel
    // takes the keys that step through the collection.
    panel->installEventFilter(this);
    baby_color->installEventFilter(this);
}

bool CollectionPanel::handleKey(int key, Qt::KeyboardModifiers modifiers)
{
    QWidget *focus = QApplication::focusWidget();
    if ((focus != panel && focus != baby_color) || (modifiers & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    switch (key) {
    case Qt::Key_Left:
        if (m_shown)
            previousb_swf_FSCommand(QString(), QString());
        return true;
    case Qt::Key_Right:
        if (m_shown)
            nextb_swf_FSCommand(QString(), QString());
        return true;
    case Qt::Key_Delete:
        babyDelete();
        return true;
    default:
        return false;
    }
}

bool CollectionPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ContextMenu) {
        showContextMenu(static_cast<QContextMenuEvent *>(event)->globalPos());
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (handleKey(key->key(), key->modifiers()))
            return true;
    }
    return QObject::eventFilter(watched, event);
}

void CollectionPanel::showContextMenu(const QPoint &globalPos)
{
    QMenu *menu = CopyMenu::start(m_shown ? m_shown->code : QString(), m_shownColour,
                                  [this](const QString &said) { emit notice(said); });
    if (m_shown) {
        // What the keys do, with the keys: the menu is where a user finds them.
        auto add = [menu](const QString &text, const QKeySequence &key, const std::function<void()> &action) {
            CopyMenu::addKeyed(menu, text, key, action);
        };
        add(tr("Next entry"), QKeySequence(Qt::Key_Right), [this] { nextb_swf_FSCommand(QString(), QString()); });
        add(tr("Previous entry"), QKeySequence(Qt::Key_Left), [this] { previousb_swf_FSCommand(QString(), QString()); });
        add(tr("Delete %1").arg(m_shown->code), QKeySequence(Qt::Key_Delete), [this] { babyDelete(); });
        menu->addSeparator();
    }
    connect(menu->addAction(tr("Export the collection…")), &QAction::triggered, this, [this] { askAndExport(false); });
    connect(menu->addAction(tr("Export the whole card…")), &QAction::triggered, this, [this] { askAndExport(true); });
    connect(menu->addAction(tr("Import colours…")), &QAction::triggered, this, [this] { askAndImport(); });
    connect(menu->addAction(tr("Save as PDF…")), &QAction::triggered, this, [this] { askAndSavePdf(); });
    connect(menu->addAction(tr("Print…")), &QAction::triggered, this, [this] { askAndPrint(); });
    menu->addSeparator();
    QAction *find = menu->addAction(tr("Find colour…"));
    find->setShortcut(QKeySequence(QKeySequence::Find));
    connect(find, &QAction::triggered, this, &CollectionPanel::findColourRequested);
    menu->popup(globalPos);
}

void CollectionPanel::askAndExport(bool wholeCard)
{
    const QString path = QFileDialog::getSaveFileName(
        panel->window(), wholeCard ? tr("Export the whole card") : tr("Export the collection"),
        QDir::home().filePath(wholeCard ? QStringLiteral("tesselle-5327.gpl") : QStringLiteral("my-colours.gpl")),
        tr("GIMP, Inkscape, Krita, LibreOffice palette (*.gpl);;Adobe Swatch Exchange (*.ase);;"
           "CSV (*.csv);;CSS custom properties (*.css);;LibreOffice colour table (*.soc);;"
           "Scribus colours (*.xml)"));
    if (!path.isEmpty())
        exportTo(path, wholeCard);
}

void CollectionPanel::askAndSavePdf()
{
    const QString path = QFileDialog::getSaveFileName(panel->window(), tr("Save as PDF"),
                                                      QDir::home().filePath(QStringLiteral("my-colours.pdf")),
                                                      tr("PDF swatch sheet (*.pdf)"));
    if (!path.isEmpty())
        exportTo(path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive) ? path : path + QLatin1String(".pdf"),
                 false);
}

void CollectionPanel::askAndPrint()
{
    // The collection's own cursor stays where it rests.
    DataCursor cursor;
    CollectionTable entries(&cursor);
    entries.open(m_entries->databasePath());
    const SwatchSheet sheet(PaletteExport(m_colours, &entries).entries(false), false);
    QPrinter printer;
    printer.setPageSize(SwatchSheet::localPaper());
    QPrintDialog dialog(&printer, panel->window());
    dialog.setWindowTitle(tr("Print the collection"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    sheet.print(&printer);
    emit notice(tr("Sent the collection to %1.").arg(printer.printerName().isEmpty() ? printer.outputFileName()
                                                                                       : printer.printerName()));
}

void CollectionPanel::askAndImport()
{
    const QString path = QFileDialog::getOpenFileName(
        panel->window(), tr("Import colours"), QDir::homePath(),
        tr("Palettes (*.gpl *.ase *.csv);;GIMP, Inkscape, Krita, LibreOffice palette (*.gpl);;"
           "Adobe Swatch Exchange (*.ase);;CSV (*.csv)"));
    if (!path.isEmpty())
        importFrom(path);
}

void CollectionPanel::importFrom(const QString &path)
{
    const PaletteImport::Result result = PaletteImport(m_colours, m_entries->databasePath()).read(path);
    emit notice(result.message);
    if (result.added > 0)
        m_entries->reread();
    // The panel shows the collection as it is now.
    if (result.added > 0 && !panel->isHidden())
        babyColorizer(qMax(1, positionIn(baby_num)));
}

void CollectionPanel::exportTo(const QString &path, bool wholeCard)
{
    // A cursor of its own, so that the entry shown stays where the
    // collection's cursor rests.
    DataCursor cursor;
    CollectionTable entries(&cursor);
    entries.open(m_entries->databasePath());
    emit notice(PaletteExport(m_colours, &entries).write(path, wholeCard).message);
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
    m_shownColour = m_colours->colourOf(table, code);
    if (m_shownColour)
        baby_color->setBackColor(*m_shownColour);
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
    if (m_entries->contains(code))
        emit announce(tr("%1 is in the collection already").arg(code));
    else if (m_entries->add(m_cardName, code))
        emit announce(tr("Added %1").arg(code));
    else
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
    const CollectionEntry deleted = *m_shown;
    const bool removed = m_entries->remove(deleted);
    const WriteRefusal refusal = m_entries->refusal();
    reportRefusal();
    // Deleted here or by another program meanwhile: the panel shows what
    // now stands at that position.
    if (!removed && refusal != WriteRefusal::Gone)
        return;
    if (removed) {
        m_undo = deleted;
        m_redo.reset();
        emit announce(tr("Deleted %1").arg(deleted.code));
    }
    m_shown.reset();
    babyColorizer(positionIn(baby_num));
}

void CollectionPanel::undoDelete()
{
    if (!m_undo)
        return;
    const CollectionEntry entry = *m_undo;
    switch (m_entries->restore(entry)) {
    case CollectionTable::Restore::Done:
        m_undo.reset();
        m_redo = entry;
        emit notice(tr("Restored %1").arg(entry.code));
        if (!panel->isHidden())
            babyColorizer(m_entries->positionOf(entry.sn));
        return;
    case CollectionTable::Restore::CodeCollected:
        m_undo.reset();
        emit notice(tr("%1 is not restored: it is in the collection again.").arg(entry.code));
        return;
    case CollectionTable::Restore::SnTaken:
        m_undo.reset();
        emit notice(tr("%1 is not restored: another entry stands in its place.").arg(entry.code));
        return;
    case CollectionTable::Restore::Refused:
        reportRefusal();
        return;
    }
}

void CollectionPanel::redoDelete()
{
    if (!m_redo)
        return;
    const CollectionEntry entry = *m_redo;
    const int position = m_entries->positionOf(entry.sn);
    if (position == 0) {
        m_redo.reset();
        return;
    }
    // The restored entry is shown, and deleted as the delete button does.
    babyColorizer(position);
    const UserAction action;
    if (!m_shown || m_shown->sn != entry.sn || m_shown->code != entry.code || !m_entries->remove(entry)) {
        reportRefusal();
        return;
    }
    m_redo.reset();
    m_undo = entry;
    m_shown.reset();
    emit notice(tr("Deleted %1").arg(entry.code));
    babyColorizer(position);
}
