// SPDX-License-Identifier: MIT
#include "app/Form1.h"

#include "app/Layout.h"
#include "app/VisionChoice.h"
#include "app/WaitFeedback.h"
#include "card/CardPanel.h"
#include "collection/CollectionPanel.h"
#include "data/CardTable.h"
#include "data/CollectionTable.h"
#include "data/DataCursor.h"
#include "app/AboutBox.h"
#include "app/FindColourDialog.h"
#include "platform/Artwork.h"
#include "platform/ScreenColour.h"
#include "widgets/CopyMenu.h"
#include "widgets/MovieControl.h"
#include "widgets/Notice.h"
#include "widgets/PictureBox.h"
#include "widgets/Swatch.h"
#include "widgets/TextBox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>

#include <algorithm>
#include <vector>

namespace {

QString keyOf(const char *name, int index)
{
    const QString base = QString::fromLatin1(name);
    return index < 0 ? base : QStringLiteral("%1(%2)").arg(base).arg(index);
}

QColor rgb(unsigned value)
{
    return QColor::fromRgb(value);
}

// A layout font: its stand-in face at the pixel size that the point size
// has at 96 dpi, so that text renders alike on every screen.
QFont layoutFont(const char *name, double points, bool bold = false)
{
    QFont font(QString::fromLatin1(Layout::faceFor(name)));
    font.setPixelSize(qRound(points * 96.0 / 72.0));
    font.setBold(bold);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

QRect pixelRect(const Layout::Control &c)
{
    return QRect(Layout::px(c.left), Layout::px(c.top), Layout::px(c.width), Layout::px(c.height));
}

} // namespace

Form1::Form1(const QString &programFolder, const QString &databasePath, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_programFolder(programFolder), m_databasePath(databasePath)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Tesselle 5327"));
    setWindowIcon(Artwork::programIcon());
    setFixedSize(Layout::px(Layout::clientWidth), Layout::px(Layout::clientHeight));
    setFont(layoutFont(Layout::windowFont, Layout::windowFontPoints));
    setAttribute(Qt::WA_OpaquePaintEvent);

    createControls();
    applyProperties();

    auto cursor = [this](const char *n) { return qobject_cast<DataCursor *>(control(QLatin1String(n))); };
    m_cardTable = new CardTable(cursor("data1"), cursor("Adodc2"));
    m_collectionTable = new CollectionTable(cursor("Adodc1"));
    m_card = new CardPanel(m_controls, m_cardTable, this);
    m_collection = new CollectionPanel(m_controls, m_collectionTable, m_cardTable, CardTable::name(), this);
    connect(m_collection, &CollectionPanel::notice, this, &Form1::showNotice);
    connect(m_collection, &CollectionPanel::refused, this, [this] { m_notice->holdUntilNextAction(); });
    connect(m_card, &CardPanel::notice, this, &Form1::showNotice);
    connect(m_card, &CardPanel::findColourRequested, this, &Form1::findColour);
    connect(m_collection, &CollectionPanel::findColourRequested, this, &Form1::findColour);
    connect(m_card, &CardPanel::addRequested, this, &Form1::addSelectedColour);
    connect(m_card, &CardPanel::addColourRequested, m_collection, &CollectionPanel::addtoBaby);
    // Both context menus end with undo and redo, wherever the delete was
    // made, and with About: the window has no menu bar.
    m_card->setMenuEnd([this](QMenu *menu) {
        menu->addSeparator();
        m_collection->addUndoEntries(menu);
        m_vision->addTo(menu);
        addAboutEntry(menu);
    });
    m_collection->setMenuEnd([this](QMenu *menu) {
        menu->addSeparator();
        m_vision->addTo(menu);
        addAboutEntry(menu);
    });
    applyTabOrder();
    // The arrow keys move round the palette's wheel.
    QStringList sectors;
    for (int s = 1; s <= 24; ++s)
        sectors.append(QStringLiteral("sector%1").arg(s));
    qobject_cast<MovieControl *>(control(QStringLiteral("palettac")))->setKeyboardElements(sectors);
    // Over every control, along the window's bottom edge.
    m_notice = new Notice(this);
    m_notice->setGeometry(4, height() - 34, width() - 8, 30);
    m_vision = new VisionChoice(this, m_notice);
    connect(m_vision, &VisionChoice::changed, this, &Form1::speak);
    // A wait for another program holding the database is shown as it lasts.
    new WaitFeedback(this);
    connectMovieCommands();
    setUpAccessibility();
    Form_Load();
}

Form1::~Form1()
{
    // The panels go before the tables they read through.
    delete m_card;
    delete m_collection;
    delete m_cardTable;
    delete m_collectionTable;
}

FindColourDialog *Form1::findColour()
{
    if (!m_findColour) {
        // The dialog reads the card once: a file another program holds past
        // the wait leaves the window as it is, says so, and the next Find
        // colour tries again.
        if (const WriteRefusal refusal = m_cardTable->all().refusal; refusal != WriteRefusal::None) {
            showRefusal(refusalText(refusal, m_databasePath));
            return nullptr;
        }
        m_findColour = new FindColourDialog(m_cardTable, this);
        // A chosen colour is shown on the card, brought forward, as a code
        // lookup shows it; the code fields keep what the user typed.
        connect(m_findColour, &FindColourDialog::chosen, this, [this](const QString &code) {
            palettac_FSCommand(QStringLiteral("5327"), QString());
            m_card->frameCode(code);
        });
        connect(m_findColour, &FindColourDialog::addRequested, this, [this](const QString &code) {
            m_collection->addtoBaby(code);
            // The collection in front shows what was added.
            m_collection->showAsItIsNow();
        });
        connect(m_findColour, &FindColourDialog::said, this, &Form1::showNotice);
        m_findColour->placeBeside(this);
    }
    m_findColour->show();
    m_findColour->raise();
    m_findColour->activateWindow();
    return m_findColour;
}

void Form1::addAboutEntry(QMenu *menu)
{
    connect(menu->addAction(tr("About Tesselle 5327…")), &QAction::triggered, this, &Form1::about);
}

AboutBox *Form1::about()
{
    if (!m_about)
        m_about = new AboutBox(m_collectionTable->databasePath(), this);
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
    return m_about;
}

bool Form1::isTyping() const
{
    return qobject_cast<const QLineEdit *>(QApplication::focusWidget()) != nullptr;
}

void Form1::copySelectedCode()
{
    const QString code = m_card->color_a();
    if (code.isEmpty())
        return;
    CopyMenu::toClipboard(code);
    showNotice(tr("Copied %1").arg(code));
}

void Form1::addSelectedColour()
{
    m_collection->addtoBaby(m_card->color_a());
}

void Form1::bringPanelForward(int panel)
{
    palettac_FSCommand(panel == 0 ? QStringLiteral("5327") : QString(), QString());
    qobject_cast<QWidget *>(control(QStringLiteral("tart_pb(%1)").arg(panel)))->setFocus(Qt::ShortcutFocusReason);
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    // While the intro covers the window, a key dismisses it, as a click
    // does, and reaches nothing beneath.
    // Once it is gone, every event of the program passed through here for
    // nothing: the filter goes with it.
    const QEvent::Type type = event->type();
    if (type == QEvent::HideToParent && watched == control(QStringLiteral("intro_swf"))) {
        qApp->removeEventFilter(this);
        return false;
    }
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
        return false;
    auto *intro = qobject_cast<QWidget *>(control(QStringLiteral("intro_swf")));
    if (!intro->isVisible()) {
        qApp->removeEventFilter(this);
        return false;
    }
    if (!watched->isWidgetType() || static_cast<QWidget *>(watched)->window() != this)
        return false;
    if (type == QEvent::KeyPress)
        intro->hide();
    return true;
}

void Form1::keyPressEvent(QKeyEvent *event)
{
    // Keys reach the window when no control took them. The panel keys and
    // Find act anywhere, text boxes included (they pass them on); inside a
    // text box every other key keeps the box's own rules.
    if (event->modifiers() == Qt::ControlModifier
        && (event->key() == Qt::Key_1 || event->key() == Qt::Key_2)) {
        bringPanelForward(event->key() == Qt::Key_1 ? 0 : 1);
        return;
    }
    if (event->matches(QKeySequence::Find)) {
        findColour();
        return;
    }
    if (event->keyCombination() == QKeyCombination(Qt::ShiftModifier, Qt::Key_F10)) {
        openContextMenuByKeyboard();
        return;
    }
    if (!isTyping()) {
        if (event->matches(QKeySequence::Undo)) {
            m_collection->undoDelete();
            return;
        }
        if (event->matches(QKeySequence::Redo) || event->keyCombination() == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z)) {
            m_collection->redoDelete();
            return;
        }
        if (event->matches(QKeySequence::Copy)) {
            copySelectedCode();
            return;
        }
        if (event->keyCombination() == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_V)) {
            m_vision->next();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

void Form1::showNotice(const QString &text)
{
    m_notice->say(text);
    speak(text);
}

void Form1::showRefusal(const QString &text)
{
    m_notice->say(text);
    m_notice->holdUntilNextAction();
}

QObject *Form1::control(const QString &name) const
{
    if (QObject *fixed = m_controls.value(name))
        return fixed;
    // The swatches of the page shown come and go with the page.
    return findChild<QObject *>(name);
}

void Form1::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), ScreenColour::of(rgb(Layout::windowBackColor)));
    // The window picture is read when it is first seen, after the intro.
    if (m_windowPicture.isNull())
        m_windowPicture = Artwork::picture(QString::fromLatin1(Layout::windowPicture));
    painter.drawPixmap(0, 0, ScreenColour::of(m_windowPicture));
}

void Form1::createControls()
{
    m_controls.insert(QStringLiteral("Form1"), this);
    std::vector<QWidget *> stack;  // widgets in table order, for stacking

    for (int i = 0; i < Layout::controlCount; ++i) {
        const Layout::Control &c = Layout::controls[i];
        const QString key = keyOf(c.name, c.index);
        const QString name = QString::fromLatin1(c.name);
        auto *container = qobject_cast<QWidget *>(m_controls.value(QString::fromLatin1(c.container)));
        Q_ASSERT(container);

        QObject *object = nullptr;
        QWidget *widget = nullptr;
        switch (c.kind) {
        case Layout::Kind::Movie:
            widget = new MovieControl(container);
            break;
        case Layout::Kind::PictureBox:
            widget = name == QLatin1String("pagecolor") ? new Swatch(c.index, container)
                                                         : new PictureBox(container);
            break;
        case Layout::Kind::TextBox:
            widget = new TextBox(container);
            break;
        case Layout::Kind::Label: {
            auto *label = new QLabel(container);
            label->setAttribute(Qt::WA_TranslucentBackground);
            label->setAutoFillBackground(false);
            label->setFocusPolicy(Qt::NoFocus);
            widget = label;
            break;
        }
        case Layout::Kind::DataCursor:
            object = new DataCursor(this);
            break;
        }
        if (widget) {
            widget->setGeometry(pixelRect(c));
            widget->setVisible(c.visible);
            widget->setEnabled(c.enabled);
            stack.push_back(widget);
            object = widget;
        }
        object->setObjectName(key);
        m_controls.insert(key, object);
    }

    // An earlier control lies in front of a later one of the same container:
    // raise them from the last to the first.
    for (auto it = stack.rbegin(); it != stack.rend(); ++it)
        (*it)->raise();

    // The selection frame and its colour lie over the swatches but let every
    // click through to the swatch beneath, the selected one included.
    for (const char *frame : {"pageselect", "pagecs"})
        qobject_cast<QWidget *>(control(QLatin1String(frame)))->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Form1::applyProperties()
{
    for (int i = 0; i < Layout::textBoxCount; ++i) {
        const Layout::TextBoxProps &p = Layout::textBoxes[i];
        auto *box = qobject_cast<TextBox *>(control(QLatin1String(p.name)));
        box->setFont(p.font ? layoutFont(p.font, p.points)
                            : layoutFont(Layout::windowFont, Layout::windowFontPoints));
        box->setMaxTypedLength(p.maxLength);
        box->setText(QString::fromLatin1(p.text));
        box->setAlignment(p.alignment);
        box->setReadOnly(p.readOnly);
        box->setBackColor(rgb(p.backColor));
        box->setForeColor(Qt::black);
    }
    for (int i = 0; i < Layout::labelCount; ++i) {
        const Layout::LabelProps &p = Layout::labels[i];
        auto *label = qobject_cast<QLabel *>(control(keyOf(p.name, p.index)));
        label->setFont(layoutFont(p.font, p.points, p.bold));
        label->setText(QString::fromLatin1(p.caption));
        label->setAlignment(p.alignment | Qt::AlignTop);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, rgb(p.textColor));
        label->setPalette(palette);
    }
    for (int i = 0; i < Layout::pictureCount; ++i) {
        const Layout::PictureProps &p = Layout::pictures[i];
        auto *box = qobject_cast<PictureBox *>(control(keyOf(p.name, p.index)));
        box->setBackColor(rgb(p.backColor));
        if (p.picture)
            box->setPicture(QString::fromLatin1(p.picture));
    }
    // The intro waits for its movie to start itself; every other movie
    // plays as soon as it is loaded.
    qobject_cast<MovieControl *>(control(QStringLiteral("intro_swf")))->setPlay(false);

    // The collection's count reads on from its position ("1/2"): it stands
    // on the position's baseline. A text box centres its line in its
    // height, as QLineEdit does; a top-aligned label starts at its top.
    auto *position = qobject_cast<TextBox *>(control(QStringLiteral("baby_num")));
    auto *count = qobject_cast<QLabel *>(control(QStringLiteral("baby_nummax")));
    const QFontMetrics box(position->font());
    const int baseline = position->y() + (position->height() - box.height() + 1) / 2 + box.ascent();
    count->setContentsMargins(0, baseline - QFontMetrics(count->font()).ascent() - count->y(), 0, 0);
}

void Form1::applyTabOrder()
{
    // Tab walks the controls that can take the focus in ascending tab index,
    // skipping those hidden or disabled at that moment. Picture boxes, the
    // panels among them, and movie controls are tab stops as text boxes are;
    // they take the focus from Tab only, so that a click on a swatch or a
    // button leaves the keyboard where it was. Labels never take it.
    std::vector<std::pair<int, QWidget *>> order;
    for (int i = 0; i < Layout::controlCount; ++i) {
        const Layout::Control &c = Layout::controls[i];
        auto *widget = qobject_cast<QWidget *>(control(keyOf(c.name, c.index)));
        if (!widget || c.tabIndex < 0 || c.kind == Layout::Kind::Label)
            continue;
        // The swatches' place in the walk is the column's, one stop for all.
        if (qstrcmp(c.name, "pagecolor") == 0) {
            order.emplace_back(c.tabIndex, m_card->swatchColumn());
            continue;
        }
        if (c.kind == Layout::Kind::PictureBox || c.kind == Layout::Kind::Movie)
            widget->setFocusPolicy(Qt::TabFocus);
        order.emplace_back(c.tabIndex, widget);
    }
    std::sort(order.begin(), order.end(),
              [](const auto &a, const auto &b) { return a.first < b.first; });
    for (size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1].second, order[i].second);
}
