// SPDX-License-Identifier: MIT
#include "app/VisionChoice.h"

#include "colour/VisionSimulation.h"
#include "widgets/CardPaint.h"
#include "widgets/Notice.h"

#include <QActionGroup>
#include <QMenu>
#include <QWidget>

#include <cmath>
#include <iterator>

namespace {

using Deficiency = VisionSimulation::Deficiency;

QString seenAs(const VisionSimulation::Vision &vision)
{
    return VisionChoice::tr("Seen as %1").arg(VisionSimulation::title(vision).toLower());
}

} // namespace

VisionChoice::VisionChoice(QWidget *window, Notice *notice)
    : QObject(window), m_window(window), m_notice(notice), m_description(window->accessibleDescription())
{
    connect(CardPaint::instance(), &CardPaint::visionChanged, this, &VisionChoice::show);
}

void VisionChoice::addTo(QMenu *menu)
{
    const VisionSimulation::Vision now = CardPaint::vision();
    QMenu *seeAs = menu->addMenu(tr("See as"));
    auto *kinds = new QActionGroup(seeAs);
    for (Deficiency deficiency : VisionSimulation::deficiencies) {
        QAction *item = seeAs->addAction(VisionSimulation::title({deficiency, 1.0}));
        item->setCheckable(true);
        item->setChecked(now.deficiency == deficiency);
        kinds->addAction(item);
        connect(item, &QAction::triggered, this, [deficiency] {
            // A choice of kind keeps the severity chosen for the kind before.
            VisionSimulation::Vision vision{deficiency, CardPaint::vision().severity};
            CardPaint::setVision(vision);
        });
    }
    // Anomalous trichromacy: how strong the deficiency is, by tenths.
    QMenu *severity = seeAs->addMenu(tr("Severity"));
    severity->setEnabled(VisionSimulation::hasSeverity(now.deficiency));
    auto *steps = new QActionGroup(severity);
    for (int tenth = 1; tenth <= 10; ++tenth) {
        const double value = tenth / 10.0;
        QAction *item = severity->addAction(tenth == 10 ? tr("1.0 (full)") : QString::number(value, 'f', 1));
        item->setCheckable(true);
        item->setChecked(std::abs(now.severity - value) < 0.05);
        steps->addAction(item);
        connect(item, &QAction::triggered, this, [value] {
            CardPaint::setVision({CardPaint::vision().deficiency, value});
        });
    }
    seeAs->addSeparator();
    QAction *step = seeAs->addAction(tr("Next vision"));
    step->setShortcut(QKeySequence(Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_V));
    step->setShortcutVisibleInContextMenu(true);
    connect(step, &QAction::triggered, this, &VisionChoice::next);
}

void VisionChoice::next()
{
    const Deficiency now = CardPaint::vision().deficiency;
    const auto *at = std::find(std::begin(VisionSimulation::deficiencies), std::end(VisionSimulation::deficiencies), now);
    const auto *following = at + 1 == std::end(VisionSimulation::deficiencies) ? std::begin(VisionSimulation::deficiencies) : at + 1;
    CardPaint::setVision({*following, 1.0});
}

void VisionChoice::show()
{
    const VisionSimulation::Vision vision = CardPaint::vision();
    const bool normal = vision.deficiency == Deficiency::None;
    m_notice->setStanding(normal ? QString() : seenAs(vision));
    m_window->setAccessibleDescription(normal ? m_description
                                              : (m_description.isEmpty() ? QString() : m_description + QLatin1Char(' '))
                                                    + seenAs(vision) + QLatin1Char('.'));
    emit changed(normal ? tr("Normal vision") : seenAs(vision));
}
