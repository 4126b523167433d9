// SPDX-License-Identifier: MIT
#include "app/Form1.h"

#include "card/CardPanel.h"
#include "collection/CollectionPanel.h"
#include "movie/CommandText.h"
#include "widgets/MovieControl.h"

#include <QApplication>
#include <QWidget>

namespace {

// The card number whose command brings the card panel back.
constexpr long long cardNumber = 5327;

// The page each of the palette's 24 hue sectors leads to.
struct Sector
{
    int sector;
    int page;
};
const Sector sectors[] = {
    {1, 109},  {2, 90},   {3, 70},   {4, 50},   {5, 35},   {6, 22},
    {7, 10},   {8, 5},    {9, 200},  {10, 197}, {11, 194}, {12, 190},
    {13, 186}, {14, 179}, {15, 172}, {16, 165}, {17, 157}, {18, 151},
    {19, 145}, {20, 140}, {21, 139}, {22, 129}, {23, 122}, {24, 115},
};

void bringForward(QWidget *front, QWidget *back)
{
    // The keyboard, when it was on the panel that goes, follows to the one
    // that comes, as no key moved it: Qt would pass it on as a Tab does and
    // show the focus cue after a click.
    QWidget *focus = QApplication::focusWidget();
    const bool hadFocus = focus && (focus == back || back->isAncestorOf(focus));
    back->setVisible(false);
    back->setEnabled(false);
    front->setVisible(true);
    front->setEnabled(true);
    if (hadFocus)
        front->setFocus(Qt::OtherFocusReason);
}

} // namespace

void Form1::palettac_FSCommand(const QString &command, const QString &)
{
    auto *cardPanel = qobject_cast<QWidget *>(control(QStringLiteral("tart_pb(0)")));
    auto *collectionPanel = qobject_cast<QWidget *>(control(QStringLiteral("tart_pb(1)")));
    qint64 target = 0;
    if (command.isEmpty()) {
        bringForward(collectionPanel, cardPanel);
        m_collection->babyDef();
    } else if (CommandText::equalsNumber(command, cardNumber)) {
        bringForward(cardPanel, collectionPanel);
    } else {
        for (const Sector &s : sectors) {
            if (CommandText::equalsNumber(command, s.sector)) {
                target = s.page;
                break;
            }
        }
    }
    if (target != 0)
        m_card->pageMove(target);
}

void Form1::notePalettePages()
{
    auto *palette = qobject_cast<MovieControl *>(control(QStringLiteral("palettac")));
    for (const Sector &s : sectors)
        palette->setCommandNote(QString::number(s.sector), tr("page %1").arg(s.page));
}
