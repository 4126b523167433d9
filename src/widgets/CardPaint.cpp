// SPDX-License-Identifier: MIT
#include "widgets/CardPaint.h"

#include "platform/ScreenColour.h"

#include <QApplication>
#include <QWidget>

CardPaint *CardPaint::instance()
{
    static CardPaint *paint = new CardPaint;
    return paint;
}

QColor CardPaint::seen(const QColor &card)
{
    CardPaint *self = instance();
    if (self->m_simulation.isNormal() || !card.isValid())
        return card;
    const QRgb rgb = card.rgb();
    auto it = self->m_seen.constFind(rgb);
    if (it == self->m_seen.constEnd())
        it = self->m_seen.insert(rgb, self->m_simulation.simulate(rgb));
    QColor result = QColor::fromRgb(*it);
    result.setAlpha(card.alpha());
    return result;
}

QColor CardPaint::of(const QColor &card)
{
    return ScreenColour::of(seen(card));
}

VisionSimulation::Vision CardPaint::vision()
{
    return instance()->m_simulation.vision();
}

void CardPaint::setVision(const VisionSimulation::Vision &vision)
{
    CardPaint *self = instance();
    if (self->m_simulation.vision() == vision)
        return;
    self->m_simulation = VisionSimulation(vision);
    self->m_seen.clear();
    if (qobject_cast<QApplication *>(QCoreApplication::instance())) {
        for (QWidget *widget : QApplication::allWidgets())
            widget->update();
    }
    emit self->visionChanged();
}
