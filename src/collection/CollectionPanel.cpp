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
#include "collection/ImportPreviewDialog.h"
#include "collection/ImportProgress.h"
#include "collection/PaletteImport.h"
#include "colour/ColourWords.h"
#include "colour/PaletteFormat.h"
#include "collection/SheetPrinting.h"
#include "collection/SwatchSheet.h"
#include "collection/VisionCheckDialog.h"
#include "widgets/CardPaint.h"
#include "widgets/CopyMenu.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QScopeGuard>
#include <QTimer>

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
      deleteb_swf(controlOf<MovieControl>(controls, "deleteb_swf")),
      m_emptyWatch(new QTimer(this))
{
    // The colour box leaves its context menu to the panel, and the panel
    // takes the keys that step through the collection.
    panel->installEventFilter(this);
    baby_color->installEventFilter(this);

    // An empty panel in front looks for entries another program adds, so
    // that they show with their buttons without the user asking.
    m_emptyWatch->setInterval(1000);
    connect(m_emptyWatch, &QTimer::timeout, this, &CollectionPanel::checkWhileEmpty);
}

void CollectionPanel::checkWhileEmpty()
{
    if (panel->isHidden() || m_shown) {
        m_emptyWatch->stop();
        return;
    }
    // Never inside another action, which may be waiting on this very
    // connection while the window repaints.
    if (UserAction::isActive() || UserAction::isWaiting())
        return;
    const UserAction action;
    const TableResult<int> count = m_entries->count();
    // A file held just then is looked at again at the next tick, unsaid.
    if (!count.refused() && count.value > 0)
        babyDef();
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
        const auto *menuEvent = static_cast<QContextMenuEvent *>(event);
        showContextMenu(menuEvent->globalPos(), menuEvent->reason() == QContextMenuEvent::Keyboard);
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (handleKey(key->key(), key->modifiers()))
            return true;
    }
    return QObject::eventFilter(watched, event);
}

void CollectionPanel::showContextMenu(const QPoint &globalPos, bool byKeyboard)
{
    CopyMenu::popup(contextMenu(), globalPos, byKeyboard);
}

void CollectionPanel::addUndoEntries(QMenu *menu)
{
    // What an undo or a redo would do, said before it is done.
    if (m_undo)
        CopyMenu::addKeyed(menu, tr("Undo delete of %1").arg(m_undo->code), QKeySequence(QKeySequence::Undo),
                           [this] { undoDelete(); });
    if (m_redo)
        CopyMenu::addKeyed(menu, tr("Redo delete of %1").arg(m_redo->code),
                           QKeySequence(Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_Z), [this] { redoDelete(); });
}

QMenu *CollectionPanel::contextMenu()
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
    connect(menu->addAction(tr("Check for colour-blind viewers…")), &QAction::triggered, this,
            [this] { askAndCheckVision(); });
    menu->addSeparator();
    QAction *find = menu->addAction(tr("Find colour…"));
    find->setShortcut(QKeySequence(QKeySequence::Find));
    connect(find, &QAction::triggered, this, &CollectionPanel::findColourRequested);
    if (m_undo || m_redo) {
        menu->addSeparator();
        addUndoEntries(menu);
    }
    if (m_menuEnd)
        m_menuEnd(menu);
    return menu;
}

void CollectionPanel::askAndExport(bool wholeCard)
{
    QString filter;
    QString path = QFileDialog::getSaveFileName(
        panel->window(), wholeCard ? tr("Export the whole card") : tr("Export the collection"),
        QDir::home().filePath(wholeCard ? QStringLiteral("tesselle-5327.gpl") : QStringLiteral("my-colours.gpl")),
        PaletteFormat::writeFilters(), &filter);
    // A name typed without a suffix gets the chosen filter's.
    if (!path.isEmpty() && !PaletteFormat::writerFor(path))
        path += QLatin1Char('.') + PaletteFormat::suffixOfFilter(filter);
    if (!path.isEmpty())
        exportTo(path, wholeCard);
}

void CollectionPanel::askAndSavePdf()
{
    // A sheet of another eye's colours says so before it is written.
    const QString note = SwatchSheet::visionNote(CardPaint::vision());
    const QString path = QFileDialog::getSaveFileName(panel->window(),
                                                      note.isEmpty() ? tr("Save as PDF") : tr("Save as PDF: %1").arg(note),
                                                      QDir::home().filePath(QStringLiteral("my-colours.pdf")),
                                                      tr("PDF swatch sheet (*.pdf)"));
    if (!path.isEmpty())
        exportTo(path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive) ? path : path + QLatin1String(".pdf"),
                 false);
}

std::optional<QVector<PaletteEntry>> CollectionPanel::readWholeCollection()
{
    // The collection's own cursor stays where it rests.
    DataCursor cursor;
    CollectionTable entries(&cursor);
    PaletteExport::Entries read;
    {
        // One user action: a wait for another program's lock shows itself,
        // and a lock held past it refuses the read.
        const UserAction action;
        entries.open(m_entries->databasePath());
        read = PaletteExport(m_colours, &entries).entries(false);
    }
    if (!read.read) {
        reportRefusal(read.refusal);
        return std::nullopt;
    }
    return std::move(read.list);
}

void CollectionPanel::askAndPrint()
{
    const std::optional<QVector<PaletteEntry>> read = readWholeCollection();
    if (!read)
        return;
    SwatchSheet sheet(*read, false);
    sheet.setVision(CardPaint::vision());
    const QString note = SwatchSheet::visionNote(CardPaint::vision());
    const SheetPrinting::Outcome printed
        = SheetPrinting::print(panel->window(),
                               note.isEmpty() ? tr("Print the collection") : tr("Print the collection: %1").arg(note),
                               SwatchSheet::localPaper(),
                               sheet.docName(), [&sheet](QPagedPaintDevice *device) { sheet.paint(device); });
    if (!printed.error.isEmpty())
        emit notice(printed.error);
    else if (printed.printed)
        emit notice(tr("Sent the collection to %1.").arg(printed.destination));
}

void CollectionPanel::askAndCheckVision()
{
    const std::optional<QVector<PaletteEntry>> read = readWholeCollection();
    if (!read)
        return;
    // Entries without a known colour have nothing to confuse.
    QStringList codes;
    QVector<QRgb> colours;
    for (const PaletteEntry &e : *read) {
        if (e.rgb) {
            codes.append(e.code);
            colours.append(*e.rgb);
        }
    }
    auto *dialog = new VisionCheckDialog(codes, colours, panel->window());
    connect(dialog, &VisionCheckDialog::notice, this, &CollectionPanel::notice);
    dialog->show();
}

void CollectionPanel::askAndImport()
{
    const QString path = QFileDialog::getOpenFileName(panel->window(), tr("Import colours"), QDir::homePath(),
                                                      PaletteFormat::readFilters());
    if (!path.isEmpty())
        importFrom(path);
}

void CollectionPanel::importFrom(const QString &path)
{
    // Read and matched first, then shown: nothing is written, and nothing
    // locked, until the user presses Import in the preview.
    PaletteImport import(m_colours, m_entries->databasePath());
    const PaletteImport::Plan plan = ImportProgress::plan(panel->window(), import, path);
    if (plan.cancelled) {
        emit notice(tr("Import cancelled; the collection is as it was."));
        return;
    }
    if (!plan.ok) {
        emit notice(plan.error);
        emit refused();
        return;
    }
    ImportPreviewDialog preview(plan, [&](const QVector<bool> &take, double maxDeltaE) {
        // One user action: a wait for another program's lock shows itself.
        const UserAction action;
        return import.apply(plan, take, maxDeltaE);
    }, panel->window());
    preview.exec();
    if (!preview.imported()) {
        if (!preview.importResult().message.isEmpty()) {
            emit notice(preview.importResult().message);
            if (!preview.importResult().ok)
                emit refused();
        }
        return;
    }
    const PaletteImport::Result &result = preview.importResult();
    emit notice(result.summary);
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
    PaletteExport::Result result;
    {
        // One user action: a wait for another program's lock shows itself,
        // and a lock held past it refuses the export rather than ending the
        // program. Its end is said before what became of the file.
        const UserAction action;
        entries.open(m_entries->databasePath());
        // Only a swatch sheet shows colours as another eye sees them.
        result = PaletteExport(m_colours, &entries).write(path, wholeCard, CardPaint::vision());
    }
    emit notice(result.message);
    if (!result.ok)
        emit refused();
}

// --- Viewer --------------------------------------------------------------

bool CollectionPanel::recount()
{
    // Counted in the file as it is now, other programs' commits included:
    // a check of the file's version while nothing changed.
    const TableResult<int> count = m_entries->count();
    if (count.refusal == WriteRefusal::Busy) {
        reportRefusal(count.refusal);
        return false;
    }
    m_baby_max = count.value;
    return true;
}

void CollectionPanel::babyDef()
{
    const UserAction action;
    // A file another program holds leaves the panel as it is.
    if (!recount())
        return;
    showEntryControls();

    if (m_baby_max.toInt() != 0) {
        babyColorizer(1);
        announceShown();
        return;
    }

    nextb_swf->hide();
    previousb_swf->hide();
    deleteb_swf->hide();
    baby_nummax->setText(QStringLiteral("/%1").arg(m_baby_max.toInt()));
    baby_num->setText(QStringLiteral("0"));
    baby_color->setCardColour(false);
    baby_color->setBackColor(emptyBack);
    baby_code->setBackColor(emptyBack);
    baby_code->setText(QString());
    m_shown.reset();
    m_emptyWatch->start();
    emit announce(shownWords());
}

QString CollectionPanel::shownWords() const
{
    if (!m_shown)
        return tr("The collection is empty");
    // The card's colour in words, never what the screen or a simulation
    // makes of it.
    const QString words = m_shownColour ? ColourWords::of(m_shownColour->rgb()) : tr("no colour");
    return tr("Entry %1 of %2, %3").arg(positionIn(baby_num)).arg(m_baby_max.toInt()).arg(m_shown->code)
        + QStringLiteral(", ") + words;
}

void CollectionPanel::announceShown()
{
    if (m_shown)
        emit announce(shownWords());
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

    const TableResult<CollectionEntry> read = m_entries->at(colorb_num);
    if (read.refusal == WriteRefusal::Busy) {
        reportRefusal(read.refusal);
        return;
    }
    const CollectionEntry &entry = read.value;
    // Its colour is read before anything changes: a colour the file keeps
    // from being read leaves the entry shown as it was.
    const TableResult<std::optional<QColor>> colour = m_colours->colourOf(entry.table, entry.code);
    if (colour.refused()) {
        reportRefusal(colour.refusal);
        return;
    }
    m_shown = entry;
    // An entry shown is an entry to step from and to delete, however the
    // collection came to hold it (an undo, an import, another program).
    showEntryControls();

    showEntryColour(colour.value);
    baby_nummax->setText(QStringLiteral("/%1").arg(m_baby_max.toInt()));
    baby_code->setText(entry.code);
    baby_num->setText(QString::number(colorb_num));
}

void CollectionPanel::showEntryControls()
{
    baby_code->setBackColor(shownCodeBack);
    nextb_swf->show();
    previousb_swf->show();
    deleteb_swf->show();
}

void CollectionPanel::showEntryColour(const std::optional<QColor> &colour)
{
    // An entry whose card table or code cannot be found has no colour to
    // show: its box is marked unknown, and the collection stays usable.
    m_shownColour = colour;
    baby_color->setCardColour(m_shownColour.has_value());
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
    announceShown();
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
    announceShown();
}

// --- Editing -------------------------------------------------------------

void CollectionPanel::reportRefusal(WriteRefusal refusal, const QString &code)
{
    const QString text = refusalText(refusal, m_entries->databasePath(), code);
    if (text.isEmpty())
        return;
    emit notice(text);
    // Said, then kept until the user has seen it.
    emit refused();
}

void CollectionPanel::addtoBaby(const QString &code)
{
    if (code.isEmpty())
        return;
    const UserAction action;

    // A colour is collected once: its code, compared exactly, may stand in
    // no row of the collection, whichever card the row names. An addition
    // counts only when the file made the row.
    const TableResult<bool> collected = m_entries->contains(code);
    if (collected.value) {
        emit announce(tr("%1 is in the collection already").arg(code));
    } else if (collected.refused()) {
        reportRefusal(collected.refusal, code);
    } else {
        const TableResult<bool> added = m_entries->add(m_cardName, code);
        if (added.value) {
            const int count = m_entries->count().value;
            emit announce(count == 1 ? tr("Added %1, 1 colour").arg(code) : tr("Added %1, %2 colours").arg(code).arg(count));
        } else {
            reportRefusal(added.refusal, code);
        }
    }
    // Until the collection is shown again, delete has nothing to act on.
    m_shown.reset();
}

void CollectionPanel::showAsItIsNow()
{
    if (panel->isHidden())
        return;
    const int position = positionIn(baby_num);
    if (position >= 1)
        babyColorizer(position);
    else
        babyDef();
}

void CollectionPanel::babyDelete()
{
    // Only the entry the panel shows can be deleted: the row with its
    // serial number, table and code, wherever it stands now.
    if (panel->isHidden() || !m_shown)
        return;
    const UserAction action;
    const CollectionEntry deleted = *m_shown;
    const TableResult<bool> removal = m_entries->remove(deleted);
    const bool removed = removal.value;
    const WriteRefusal refusal = removal.refusal;
    reportRefusal(refusal);
    // Deleted here or by another program meanwhile: the panel shows what
    // now stands at that position.
    if (!removed && refusal != WriteRefusal::Gone)
        return;
    if (removed) {
        m_undo = deleted;
        m_redo.reset();
    }
    m_shown.reset();
    babyColorizer(positionIn(baby_num));
    // A screen reader hears what is left and which entry the panel shows now.
    if (removed)
        emit announce(tr("Deleted %1, %2 left").arg(deleted.code).arg(m_baby_max.toInt()) + QStringLiteral(". ")
                      + shownWords());
}

void CollectionPanel::undoDelete()
{
    if (!m_undo) {
        // Said, not shown: the key was heard.
        emit announce(tr("Nothing to undo"));
        return;
    }
    const CollectionEntry entry = *m_undo;
    const TableResult<CollectionTable::Restore> restored = m_entries->restore(entry);
    switch (restored.value) {
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
        reportRefusal(restored.refusal);
        return;
    }
}

void CollectionPanel::redoDelete()
{
    if (!m_redo) {
        emit announce(tr("Nothing to redo"));
        return;
    }
    const CollectionEntry entry = *m_redo;
    const int position = m_entries->positionOf(entry.sn);
    if (position == 0) {
        m_redo.reset();
        return;
    }
    // The restored entry is shown, and deleted as the delete button does.
    babyColorizer(position);
    const UserAction action;
    if (!m_shown || m_shown->sn != entry.sn || m_shown->code != entry.code)
        return;
    const TableResult<bool> removal = m_entries->remove(entry);
    if (!removal.value) {
        reportRefusal(removal.refusal);
        return;
    }
    m_redo.reset();
    m_undo = entry;
    m_shown.reset();
    emit notice(tr("Deleted %1").arg(entry.code));
    babyColorizer(position);
    emit announce(tr("Deleted %1, %2 left").arg(entry.code).arg(m_baby_max.toInt()) + QStringLiteral(". ")
                  + shownWords());
}
