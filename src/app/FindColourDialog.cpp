// SPDX-License-Identifier: MIT
#include "app/FindColourDialog.h"

#include "colour/CardColour.h"
#include "colour/ColourInput.h"
#include "colour/ColourSpace.h"
#include "colour/NearestColours.h"
#include "platform/ScreenColour.h"
#include "data/CardTable.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int listedCount = 10;

} // namespace

FindColourDialog::FindColourDialog(CardTable *card, QWidget *parent)
    : QDialog(parent), m_input(new QLineEdit(this)), m_list(new QTreeWidget(this)), m_status(new QLabel(this))
{
    setWindowTitle(tr("Find colour"));
    setObjectName(QStringLiteral("findColour"));

    QVector<CardColour> colours;
    for (const CardEntry &c : card->all())
        colours.append({c.sn, c.code, c.colour.rgb(), ColourSpace::labFromRgb(c.colour.rgb())});
    m_search = std::make_unique<NearestColours>(colours);

    auto *label = new QLabel(tr("&Colour (K8.04.43, #rrggbb, rgb(r, g, b) or R G B):"), this);
    label->setBuddy(m_input);
    m_input->setAccessibleName(tr("Colour"));
    auto *pick = new QPushButton(tr("&Pick from screen"), this);
    pick->setAutoDefault(false);
    m_list->setColumnCount(3);
    m_list->setHeaderLabels({tr("Code"), tr("sRGB"), tr("ΔE00")});
    m_list->setRootIsDecorated(false);
    m_list->setAccessibleName(tr("Nearest card colours"));
    m_list->header()->setStretchLastSection(true);
    m_status->setWordWrap(true);
    auto *note = new QLabel(tr("ΔE00 compares sRGB values: an on-screen approximation of the printed colours."), this);
    note->setWordWrap(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_input);
    layout->addWidget(pick);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_status);
    layout->addWidget(note);
    resize(320, 360);

    connect(m_input, &QLineEdit::returnPressed, this, [this] { search(m_input->text()); });
    connect(pick, &QPushButton::clicked, this, &FindColourDialog::pickFromScreen);
    connect(m_list, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) {
        emit chosen(item->text(0));
    });
}

FindColourDialog::~FindColourDialog() = default;

void FindColourDialog::search(const QString &text)
{
    m_input->setText(text);
    m_list->clear();
    const ColourInput input = ColourInput::parse(text);
    if (!input.isValid()) {
        m_status->setText(input.error());
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
        QPixmap face(12, 12);
        face.fill(ScreenColour::of(QColor(c.rgb)));
        item->setIcon(1, face);
        const QString off = ScreenColour::offByText(QColor(c.rgb));
        if (!off.isEmpty()) {
            item->setToolTip(1, off);
            item->setData(1, Qt::AccessibleDescriptionRole, off);
        }
    }
    m_status->setText(tr("Nearest to %1, best first.").arg(QColor(rgb).name()));
    m_list->setCurrentItem(m_list->topLevelItem(0));
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
