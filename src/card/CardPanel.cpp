// SPDX-License-Identifier: MIT
#include "card/CardPanel.h"

#include "card/PageGeometry.h"
#include "card/SwatchColumn.h"
#include "colour/ColourWords.h"
#include "data/CardTable.h"
#include "data/UserAction.h"
#include "widgets/AccessiblePicture.h"
#include "widgets/PictureBox.h"
#include "widgets/Swatch.h"
#include "widgets/TextBox.h"
#include "widgets/Twips.h"

#include "widgets/CopyMenu.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QRegion>
#include <QCoreApplication>

#include <cmath>
#include <utility>

namespace {

constexpr int keyBackspace = 8;
constexpr int keyEnter = 13;
constexpr int keySpace = 32;
// A code field holding a whole group hands the focus on.
constexpr int groupLength = 2;

const QColor notFoundColour(192, 0, 0);

// The number in the page-number box, edited or not, taken down to a whole
// number and held within +-2^53, beyond the highest page there can be; the
// page shown when the box is empty or holds no number (it can only be
// pasted there).
qint64 pageNumberIn(const TextBox *box, qint64 pageShown)
{
    constexpr qint64 limit = qint64(1) << 53;
    const QString text = box->text().trimmed();
    bool ok = false;
    const qint64 whole = text.toLongLong(&ok);
    if (ok)
        return qBound(-limit, whole, limit);
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return pageShown;
    return qint64(std::floor(qBound(-double(limit), value, double(limit))));
}

// The name of the swatch in row i, "pagecolor(i)": made once for each row
// and shared by every page after (kept for the longest page shown).
QString swatchName(int row)
{
    static QVector<QString> names;
    while (names.size() <= row)
        names.append(QLatin1String("pagecolor(") + QString::number(names.size()) + QLatin1Char(')'));
    return names.at(row);
}

} // namespace

CardPanel::CardPanel(const ControlMap &controls, CardTable *card, QObject *parent)
    : QObject(parent), m_card(card),
      pageselect(controlOf<PictureBox>(controls, "pageselect")),
      pagecs(controlOf<PictureBox>(controls, "pagecs")),
      pagen_text(controlOf<TextBox>(controls, "pagen_text")),
      findcode_txt1(controlOf<TextBox>(controls, "findcode_txt1")),
      findcode_txt2(controlOf<TextBox>(controls, "findcode_txt2")),
      findcode_txt3(controlOf<TextBox>(controls, "findcode_txt3")),
      m_panel(controlOf<QWidget>(controls, "tart_pb(0)")),
      m_column(new SwatchColumn(m_panel))
{
    using namespace PageGeometry;
    using Twips::px;
    m_column->setGeometry(px(swatchLeft - frameBorder), px(firstSwatchTop - frameBorder),
                          px(swatchWidth + 2 * frameBorder), px(swatchTop(9) - swatchGap + frameBorder));
    m_column->installEventFilter(this);
    pagecolor.insert(0, controlOf<Swatch>(controls, "pagecolor(0)"));
    m_column->setSwatches(&pagecolor);
    // The swatches of the page stand in a column of their own at the
    // panel's origin, above the panel's other controls and under the
    // selection frame and the keyboard's column.
    m_swatches = new QWidget(m_panel);
    m_swatches->hide();
    // A screen reader finds the swatches in the list, not here, and never
    // the template.
    AccessiblePicture::leaveOut(m_swatches);
    AccessiblePicture::leaveOut(pagecolor(0));
    pageselect->raise();
    m_column->raise();
    // The swatches leave their context menu to the panel they lie on, and
    // the panel takes the keys that move through the card.
    m_panel->installEventFilter(this);

    connect(pagen_text, &TextBox::KeyPress, this, &CardPanel::pagen_text_KeyPress);
    for (TextBox *field : {findcode_txt1, findcode_txt2, findcode_txt3}) {
        connect(field, &TextBox::KeyDown, this, [this, field] {
            m_keyDownIn = field;
            findcode_KeyDown();
        });
        connect(field, &TextBox::KeyPress, this, &CardPanel::findcode_KeyPress);
        connect(field, &TextBox::KeyUp, this, [this, field] { findcode_KeyUp(field); });
    }
}

bool CardPanel::readHighestPage()
{
    const TableResult<QVariant> highest = m_card->highestPage();
    m_pagenx = highest.value;
    return !highest.refused();
}

// --- Page view -----------------------------------------------------------

void CardPanel::PageLoad(qint64 pagenum)
{
    using namespace PageGeometry;
    using Twips::px;

    // A page another program keeps from being read leaves the page shown.
    const TableResult<QVector<CardEntry>> page = m_card->page(pagenum);
    if (page.refused())
        return;
    const QVector<CardEntry> &colours = page.value;
    removeSwatches();
    pageselect->hide();
    m_color_a.clear();
    m_framed = 0;

    // The column is hidden while the new swatches are made and shown with
    // them at once: each swatch then costs the same however many the page
    // holds. Its mask is the swatches, so that showing and hiding it
    // repaints them alone and the card between them stays as it is.
    // Each swatch takes its place, colour and code; the mask keeps the part
    // of it within the panel (a page of many colours runs past its edge).
    const int rows = int(colours.size());
    const QRect panelArea = m_panel->rect();
    QRegion standing;
    for (int i = 1; i <= rows; ++i) {
        const CardEntry &c = colours.at(i - 1);
        auto *swatch = new Swatch(i, m_swatches);
        swatch->setObjectName(swatchName(i));
        const QRect place(px(swatchLeft), px(swatchTop(i)), px(swatchWidth), px(swatchHeight));
        swatch->setGeometry(place);
        standing += place & panelArea;
        swatch->setBackColor(c.colour);
        swatch->setToolTip(c.code);
        swatch->setPlace(i, rows, pagenum);
        swatch->setList(m_column);
        swatch->show();
        connect(swatch, &Swatch::Click, this, &CardPanel::pagecolor_Click);
        pagecolor.insert(i, swatch);
    }
    // Each new widget asks to be polished, and each one shown to be
    // painted, by an event posted to it; left waiting, each is looked for
    // again when its widget goes, in time that grows with all the others.
    // They are handled here, once each.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::PolishRequest);
    if (rows > 0) {
        m_swatches->setGeometry(0, 0, px(swatchLeft + swatchWidth), px(swatchTop(rows) + swatchHeight));
        m_swatches->setMask(standing);
        m_swatches->show();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateLater);

    m_column->setCueRect(QRect());
    pageselect->setBackColor(Qt::black);
    pageselect->resize(px(swatchWidth + 2 * frameBorder), px(swatchHeight + 2 * frameBorder));
    m_pageShown = pagenum;
    pagen_text->setText(QString::number(pagenum));
    m_column->presentFocus();
    emit announce(rows == 1 ? tr("Page %1, 1 colour").arg(pagenum) : tr("Page %1, %2 colours").arg(pagenum).arg(rows));
}

void CardPanel::removeSwatches()
{
    // In the order they were made: each then leaves the front of the
    // column's list of children, which costs nothing, where one taken from
    // its end is looked for through the whole list. They go while the
    // column is still shown: hiding it first would hide each of them, one
    // by one, only for them to be deleted.
    const QList<int> indexes = pagecolor.indexes();
    for (int index : indexes) {
        if (index >= 1)
            delete pagecolor.take(index);
    }
    m_swatches->hide();
}

void CardPanel::pageMove(qint64 pagenum)
{
    const UserAction action;
    // PageLoad replaces the swatches shown once the page has been read.
    PageLoad(pagenum);
}

void CardPanel::pageDisp(int rowns)
{
    // Only a swatch that stands in the column can be selected.
    Swatch *swatch = rowns >= 1 ? pagecolor(rowns) : nullptr;
    if (!swatch)
        return;
    const int border = Twips::px(PageGeometry::frameBorder);
    pageselect->move(swatch->x() - border, swatch->y() - border);
    pageselect->show();
    if (Swatch *before = pagecolor(m_framed); before && m_framed >= 1)
        before->setFramed(false);
    swatch->setFramed(true);
    m_framed = rowns;
    m_column->presentFocus();
    m_column->setCueRect(pageselect->geometry());
    pagecs->setCardColour(true);
    pagecs->setBackColor(swatch->backColor());
}

int CardPanel::indexOf(const QString &code) const
{
    for (int index : pagecolor.indexes()) {
        if (index >= 1 && pagecolor(index)->toolTip() == code)
            return index;
    }
    return 0;
}

QWidget *CardPanel::swatchColumn() const
{
    return m_column;
}

bool CardPanel::handleKey(const QKeyEvent *event)
{
    // Only while the panel or its column has the keyboard: inside the page
    // box and the code fields every key keeps their own rules.
    QWidget *focus = QApplication::focusWidget();
    if (focus != m_panel && focus != m_column)
        return false;
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const bool plain = mods == Qt::NoModifier;
    switch (event->key()) {
    case Qt::Key_Down:
        if (plain && m_framed < swatchCount())
            pagecolor_Click(m_framed + 1);
        return plain;
    case Qt::Key_Up:
        if (plain && m_framed > 1)
            pagecolor_Click(m_framed - 1);
        return plain;
    case Qt::Key_PageDown:
        if (plain)
            next_swf_FSCommand(QString(), QString());
        return plain;
    case Qt::Key_PageUp:
        if (plain)
            previous_swf_FSCommand(QString(), QString());
        return plain;
    case Qt::Key_Home:
        if (plain)
            pageMove(1);
        return plain;
    case Qt::Key_End:
        if (plain && m_pagenx.toLongLong() >= 1)
            pageMove(m_pagenx.toLongLong());
        return plain;
    // Adding: Ctrl+Enter, or A; Insert too where no screen reader holds it
    // as its own key.
    case Qt::Key_A:
    case Qt::Key_Insert:
        if (plain)
            emit addRequested();
        return plain;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (mods == Qt::ControlModifier)
            emit addRequested();
        return mods == Qt::ControlModifier;
    default:
        return false;
    }
}

bool CardPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && handleKey(static_cast<QKeyEvent *>(event)))
        return true;
    if (event->type() == QEvent::ContextMenu) {
        auto *menuEvent = static_cast<QContextMenuEvent *>(event);
        // The swatch under the pointer, framed or not: the frame lets the
        // pointer through. From the keyboard (Menu, Shift+F10): the framed
        // one, the menu opening on it.
        const bool byKeyboard = menuEvent->reason() == QContextMenuEvent::Keyboard;
        Swatch *swatch = watched == m_column || byKeyboard ? pagecolor(m_framed) : nullptr;
        for (int index : pagecolor.indexes()) {
            if (!byKeyboard && watched == m_panel && index >= 1 && pagecolor(index)->geometry().contains(menuEvent->pos()))
                swatch = pagecolor(index);
        }
        if (swatch == pagecolor(0))
            swatch = nullptr;
        const QPoint at = byKeyboard && swatch ? swatch->mapToGlobal(swatch->rect().center()) : menuEvent->globalPos();
        showContextMenu(at, swatch, byKeyboard);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void CardPanel::showContextMenu(const QPoint &globalPos, Swatch *swatch, bool byKeyboard)
{
    CopyMenu::popup(contextMenu(swatch), globalPos, byKeyboard);
}

QMenu *CardPanel::contextMenu(Swatch *swatch)
{
    QMenu *menu = CopyMenu::start(swatch ? swatch->toolTip() : QString(),
                                  swatch ? std::optional<QColor>(swatch->backColor()) : std::nullopt,
                                  [this](const QString &said) { emit notice(said); });
    // What the keys do, with the keys: the menu is where a user finds them.
    auto add = [menu](const QString &text, const QKeySequence &key, const std::function<void()> &action) {
        CopyMenu::addKeyed(menu, text, key, action);
    };
    // Every entry acts on the swatch the menu was opened on, framed or not.
    if (swatch) {
        const QString code = swatch->toolTip();
        add(tr("Add %1 to the collection").arg(code), QKeySequence(Qt::ControlModifier | Qt::Key_Return),
            [this, code] { emit addColourRequested(code); });
    }
    add(tr("Next page"), QKeySequence(Qt::Key_PageDown), [this] { next_swf_FSCommand(QString(), QString()); });
    add(tr("Previous page"), QKeySequence(Qt::Key_PageUp), [this] { previous_swf_FSCommand(QString(), QString()); });
    add(tr("First page"), QKeySequence(Qt::Key_Home), [this] { pageMove(1); });
    add(tr("Last page"), QKeySequence(Qt::Key_End), [this] { pageMove(qMax<qint64>(1, m_pagenx.toLongLong())); });
    menu->addSeparator();
    QAction *find = menu->addAction(tr("Find colour…"));
    find->setShortcut(QKeySequence(QKeySequence::Find));
    connect(find, &QAction::triggered, this, &CardPanel::findColourRequested);
    if (m_menuEnd)
        m_menuEnd(menu);
    return menu;
}

// --- Page navigation -----------------------------------------------------

void CardPanel::next_swf_FSCommand(const QString &, const QString &)
{
    qint64 p = pageNumberIn(pagen_text, m_pageShown) + 1;
    if (p > m_pagenx.toLongLong())
        p = 1;
    pageMove(p);
}

void CardPanel::previous_swf_FSCommand(const QString &, const QString &)
{
    qint64 p = pageNumberIn(pagen_text, m_pageShown) - 1;
    if (p < 1)
        p = m_pagenx.toLongLong();
    pageMove(p);
}

void CardPanel::pagen_text_KeyPress(int &keyAscii)
{
    if (keyAscii == keyBackspace || (keyAscii >= '0' && keyAscii <= '9'))
        return;
    if (keyAscii == keyEnter) {
        qint64 p = pageNumberIn(pagen_text, m_pageShown);
        if (p < 1)
            p = 1;
        else if (p > m_pagenx.toLongLong())
            p = m_pagenx.toLongLong();
        keyAscii = 0;
        pageMove(p);
        return;
    }
    keyAscii = 0;
}

void CardPanel::pagecolor_Click(int index)
{
    Swatch *swatch = pagecolor(index);
    if (!swatch)
        return;
    m_color_a = swatch->toolTip();
    findcode_txt1->setText(m_color_a.left(2));
    findcode_txt2->setText(m_color_a.mid(3, 2));
    findcode_txt3->setText(m_color_a.right(2));
    pageDisp(index);
    // With the keyboard on the column a screen reader follows the framed
    // swatch itself; a click elsewhere is told.
    if (!m_column->hasFocus())
        emit announce(tr("%1, %2, framed").arg(m_color_a, ColourWords::of(swatch->backColor().rgb())));
}

// --- Code fields ---------------------------------------------------------

void CardPanel::findcode_KeyDown()
{
    // A new key: whatever key ran the last lookup has been released.
    m_holdFocusAtKeyUp = false;
    // After a successful lookup the first key starts a new code.
    if (m_icode_char == 0) {
        findcode_txt1->setText(QString());
        findcode_txt2->setText(QString());
        findcode_txt3->setText(QString());
        m_icode_char = 1;
    }
}

void CardPanel::findcode_KeyPress(int &keyAscii)
{
    keyAscii = QChar(char16_t(keyAscii)).toUpper().unicode();
    if (keyAscii == keySpace) {
        keyAscii = 0;
    } else if (keyAscii == keyEnter) {
        keyAscii = 0;
        enterCode();
        // The release of this key arrives in the first field, where a
        // successful lookup put the focus. It must not hand the focus on,
        // or the next code would start in the second field.
        m_holdFocusAtKeyUp = m_icode_char == 0;
    }
}

void CardPanel::findcode_KeyUp(TextBox *field)
{
    if (std::exchange(m_holdFocusAtKeyUp, false))
        return;
    // The release of a key pressed elsewhere (the Tab or Ctrl+1 that
    // brought the focus here) does not hand it on: the code typed next
    // starts in this field.
    if (std::exchange(m_keyDownIn, nullptr) != field)
        return;
    if (field->text().size() != groupLength)
        return;
    TextBox *next = field == findcode_txt1 ? findcode_txt2
                    : field == findcode_txt2 ? findcode_txt3
                                             : findcode_txt1;
    next->setFocus();
}

// --- Code lookup ---------------------------------------------------------

void CardPanel::frameCode(const QString &code)
{
    const UserAction action;
    const std::optional<CardEntry> found = m_card->find(code).value;
    if (found) {
        pageMove(found->page);
        if (const int index = indexOf(found->code))
            pageDisp(index);
        m_color_a = found->code;
        emit announce(tr("%1 found on page %2").arg(found->code).arg(found->page));
    }
}

void CardPanel::enterCode()
{
    const UserAction action;
    const std::initializer_list<TextBox *> fields = {findcode_txt1, findcode_txt2, findcode_txt3};
    const QString code = findcode_txt1->text() + QLatin1Char('.') + findcode_txt2->text()
                         + QLatin1Char('.') + findcode_txt3->text();
    const TableResult<std::optional<CardEntry>> lookup = m_card->find(code);
    // Not looked up at all while another program holds the file.
    if (lookup.refused())
        return;
    const std::optional<CardEntry> &found = lookup.value;
    for (TextBox *field : fields)
        field->setForeColor(Qt::black);

    if (found) {
        pageMove(found->page);
        // Frame the swatch that shows the found colour: its place in the
        // column, which equals its Row only when the page's rows have no gaps.
        if (const int index = indexOf(found->code))
            pageDisp(index);
        m_icode_char = 0;
        m_color_a = found->code;
    } else {
        for (TextBox *field : fields)
            field->setForeColor(notFoundColour);
        m_icode_char = 1;
    }

    m_card->rewind();
    findcode_txt1->setFocus();
    // Told where the keyboard has gone.
    if (found)
        emit announce(tr("%1 found on page %2").arg(found->code).arg(found->page));
    else
        emit announce(tr("No colour %1").arg(code));
}
