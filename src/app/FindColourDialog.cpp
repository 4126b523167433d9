// SPDX-License-Identifier: MIT
#include "app/FindColourDialog.h"

#include "colour/CardColour.h"
#include "colour/ColourInput.h"
#include "colour/ColourSpace.h"
#include "colour/ColourWords.h"
#include "collection/CardSearch.h"
#include "colour/NearestColours.h"
#include "platform/ScreenColour.h"
#include "platform/WaylandLimits.h"
#include "data/CardTable.h"
#include "widgets/CopyMenu.h"
#include "widgets/CardPaint.h"
#include "widgets/SwatchIcon.h"
#include "widgets/SwatchRowDelegate.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMenu>
#include <QShortcut>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int listedCount = 10;
// What is typed is looked up once the keys pause this long.
constexpr int typingPauseMs = 300;

} // namespace

FindColourDialog::FindColourDialog(CardTable *card, QWidget *parent)
    : QDialog(parent), m_input(new QLineEdit(this)), m_list(new QTreeWidget(this)), m_status(new QLabel(this)),
      m_typing(new QTimer(this))
{
    setWindowTitle(tr("Find colour"));
    setObjectName(QStringLiteral("findColour"));

    m_search = std::make_unique<NearestColours>(CardSearch::build(card));

    auto *label = new QLabel(tr("&Colour (K8.04.43, #rrggbb, rgb(r, g, b) or R G B):"), this);
    label->setBuddy(m_input);
    m_input->setAccessibleName(tr("Colour"));
    auto *pick = new QPushButton(tr("&Pick from screen"), this);
    pick->setAutoDefault(false);
    m_list->setColumnCount(3);
    m_list->setHeaderLabels({tr("Code"), tr("sRGB"), tr("ΔE00")});
    m_list->setRootIsDecorated(false);
    m_list->setItemDelegate(new SwatchRowDelegate(m_list));
    m_list->setAccessibleName(tr("Nearest card colours"));
    m_list->header()->setStretchLastSection(true);
    // The columns take what their texts need: no scroll bar for nothing.
    m_list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_list->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    auto *add = new QPushButton(tr("&Add to collection"), this);
    add->setObjectName(QStringLiteral("add"));
    add->setAutoDefault(false);
    auto *copy = new QPushButton(tr("C&opy code"), this);
    copy->setObjectName(QStringLiteral("copy"));
    copy->setAutoDefault(false);
    auto *actions = new QHBoxLayout;
    actions->addWidget(add);
    actions->addWidget(copy);
    actions->addStretch();
    m_status->setWordWrap(true);
    auto *note = new QLabel(tr("ΔE00 compares sRGB values: an on-screen approximation of the printed colours."), this);
    note->setWordWrap(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_input);
    layout->addWidget(pick);
    layout->addWidget(m_list, 1);
    layout->addLayout(actions);
    layout->addWidget(m_status);
    layout->addWidget(note);
    // What Wayland does not allow is said here rather than failing unseen:
    // the button stays in sight, disabled, with its reason.
    if (WaylandLimits::active()) {
        pick->setEnabled(false);
        pick->setToolTip(WaylandLimits::screenGrab());
        pick->setAccessibleDescription(WaylandLimits::screenGrab());
        auto *limits = new QLabel(WaylandLimits::screenGrab() + QLatin1Char(' ') + WaylandLimits::placement(), this);
        limits->setObjectName(QStringLiteral("waylandLimits"));
        limits->setWordWrap(true);
        layout->addWidget(limits);
    }
    resize(320, 360);

    m_typing->setObjectName(QStringLiteral("typingPause"));
    m_typing->setSingleShot(true);
    m_typing->setInterval(typingPauseMs);
    connect(m_input, &QLineEdit::textEdited, m_typing, qOverload<>(&QTimer::start));
    connect(m_typing, &QTimer::timeout, this, [this] { lookUp(m_input->text(), true); });
    connect(m_input, &QLineEdit::returnPressed, this, &FindColourDialog::enter);
    connect(pick, &QPushButton::clicked, this, &FindColourDialog::pickFromScreen);
    // The faces are painted as the eye chosen in the window sees them.
    connect(CardPaint::instance(), &CardPaint::visionChanged, this, [this] {
        for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
            QTreeWidgetItem *item = m_list->topLevelItem(i);
            item->setIcon(1, SwatchIcon::of(QColor(item->text(1)), 12, false));
        }
    });
    connect(m_list, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) {
        emit chosen(item->text(0));
    });
    connect(add, &QPushButton::clicked, this, &FindColourDialog::addChosen);
    connect(copy, &QPushButton::clicked, this, &FindColourDialog::copyChosen);
    // The card's keys for the same: Ctrl+Enter adds, Ctrl+C copies.
    for (const QKeySequence &key : {QKeySequence(Qt::ControlModifier | Qt::Key_Return),
                                    QKeySequence(Qt::ControlModifier | Qt::Key_Enter)})
        connect(new QShortcut(key, m_list, nullptr, nullptr, Qt::WidgetShortcut), &QShortcut::activated, this,
                &FindColourDialog::addChosen);
    connect(new QShortcut(QKeySequence::Copy, m_list, nullptr, nullptr, Qt::WidgetShortcut), &QShortcut::activated,
            this, &FindColourDialog::copyChosen);
    connect(m_list, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        if (QTreeWidgetItem *item = m_list->itemAt(at))
            m_list->setCurrentItem(item);
        if (QMenu *menu = contextMenu())
            menu->popup(m_list->viewport()->mapToGlobal(at));
    });
}

FindColourDialog::~FindColourDialog() = default;

void FindColourDialog::search(const QString &text)
{
    m_input->setText(text);
    lookUp(text, false);
}

void FindColourDialog::enter()
{
    const QString text = m_input->text();
    if (m_listedFor.isEmpty() || m_listedFor != text)
        lookUp(text, false);
    if (!current().isEmpty())
        emit chosen(current());
}

void FindColourDialog::lookUp(const QString &text, bool typing)
{
    m_typing->stop();
    m_list->clear();
    m_listedFor.clear();
    const ColourInput input = ColourInput::parse(text);
    if (!input.isValid()) {
        m_status->setText(typing && input.isIncomplete() ? QString() : input.error());
        return;
    }
    QRgb rgb = input.rgb();
    if (input.kind() == ColourInput::Kind::Code) {
        const QVector<CardColour> &colours = m_search->colours();
        const auto it = std::find_if(colours.cbegin(), colours.cend(), [&input](const CardColour &c) {
            return c.code.compare(input.code(), Qt::CaseInsensitive) == 0;
        });
        if (it == colours.cend()) {
            m_status->setText(tr("%1 is not a code of this card.").arg(input.code()));
            return;
        }
        rgb = it->rgb;
    }
    for (const NearestColours::Match &match : m_search->nearest(ColourSpace::labFromRgb(rgb), listedCount)) {
        const CardColour &c = m_search->colours().at(match.index);
        auto *item = new QTreeWidgetItem(m_list, {c.code, QColor(c.rgb).name(), QString::number(match.deltaE, 'f', 2)});
        item->setIcon(1, SwatchIcon::of(QColor(c.rgb), 12, false));
        const QString off = ScreenColour::offByText(QColor(c.rgb));
        if (!off.isEmpty()) {
            item->setToolTip(1, off);
            item->setData(1, Qt::AccessibleDescriptionRole, off);
        }
        // A screen reader reads a row by its first cell's name: the code, the
        // card's colour in words, how far it is, and what this screen makes
        // of it.
        QString name = tr("%1, %2, delta E %3").arg(c.code, ColourWords::of(c.rgb), item->text(2));
        if (!off.isEmpty())
            name += QStringLiteral(", ") + off;
        item->setData(0, Qt::AccessibleTextRole, name);
    }
    m_status->setText(tr("Nearest to %1, best first.").arg(QColor(rgb).name()));
    m_list->setCurrentItem(m_list->topLevelItem(0));
    m_listedFor = text;
}

QString FindColourDialog::current() const
{
    const QTreeWidgetItem *item = m_list->currentItem();
    return item ? item->text(0) : QString();
}

void FindColourDialog::addChosen()
{
    if (!current().isEmpty())
        emit addRequested(current());
}

void FindColourDialog::copyChosen()
{
    const QString code = current();
    if (code.isEmpty())
        return;
    CopyMenu::toClipboard(code);
    emit said(tr("Copied %1").arg(code));
}

QMenu *FindColourDialog::contextMenu()
{
    const QTreeWidgetItem *item = m_list->currentItem();
    if (!item)
        return nullptr;
    const QString code = item->text(0);
    QMenu *menu = CopyMenu::start(code, QColor(item->text(1)), [this](const QString &text) { emit said(text); });
    CopyMenu::addKeyed(menu, tr("Add %1 to the collection").arg(code), QKeySequence(Qt::ControlModifier | Qt::Key_Return),
                       [this, code] { emit addRequested(code); });
    return menu;
}

void FindColourDialog::placeBeside(const QWidget *window)
{
    // Beside the window, on the side the screen has room for, level with
    // its top: the card stays in sight.
    if (WaylandLimits::active())
        return;  // the compositor places it; the dialog says so
    const QRect outer = window->frameGeometry();
    const QScreen *screen = window->screen();
    if (!screen)
        return;
    const QRect room = screen->availableGeometry();
    // The frame the window system adds to ours, as it adds it to the window.
    const QSize frame = outer.size() - window->size();
    const QSize size = this->size() + frame;
    const int gap = 8;
    int x;
    if (outer.right() + gap + size.width() <= room.right() + 1)
        x = outer.right() + 1 + gap;
    else if (outer.left() - gap - size.width() >= room.left())
        x = outer.left() - gap - size.width();
    else
        return;  // no room beside it: the window system places it
    const int y = qBound(room.top(), outer.top(), qMax(room.top(), room.bottom() + 1 - size.height()));
    move(x, y);
}

QStringList FindColourDialog::listed() const
{
    QStringList codes;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i)
        codes.append(m_list->topLevelItem(i)->text(0));
    return codes;
}

void FindColourDialog::pickFromScreen()
{
    // The next click anywhere on the screen picks the pixel under it.
    m_picking = true;
    grabMouse(Qt::CrossCursor);
    m_status->setText(tr("Click the colour to pick."));
}

void FindColourDialog::mousePressEvent(QMouseEvent *event)
{
    if (!m_picking) {
        QDialog::mousePressEvent(event);
        return;
    }
    m_picking = false;
    releaseMouse();
    const QPoint at = event->globalPosition().toPoint();
    QScreen *screen = QGuiApplication::screenAt(at);
    if (!screen) {
        m_status->setText(tr("No screen to pick from there."));
        return;
    }
    const QPoint local = at - screen->geometry().topLeft();
    const QImage pixel = screen->grabWindow(0, local.x(), local.y(), 1, 1).toImage();
    if (pixel.isNull()) {
        m_status->setText(tr("The screen cannot be read here."));
        return;
    }
    search(ScreenColour::fromScreen(pixel.pixelColor(0, 0)).name());
}
