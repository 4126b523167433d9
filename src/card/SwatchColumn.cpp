#include "card/SwatchColumn.h"

#include "widgets/FocusCue.h"

#include <QPainter>

#include <utility>

SwatchColumn::SwatchColumn(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("swatchColumn"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(tr("Colours of the page"));
}

void SwatchColumn::setCueRect(const QRect &rect)
{
    if (rect == m_cue)
        return;
    m_cue = rect;
    if (m_keyboardFocus)
        update();
}

void SwatchColumn::paintEvent(QPaintEvent *)
{
    if (!m_keyboardFocus || !hasFocus())
        return;
    QPainter painter(this);
    FocusCue::draw(painter, m_cue.isEmpty() ? rect() : m_cue.translated(-pos()));
}

void SwatchColumn::focusInEvent(QFocusEvent *event)
{
    m_keyboardFocus = FocusCue::fromKeyboard(event);
    update();
    QWidget::focusInEvent(event);
}

void SwatchColumn::focusOutEvent(QFocusEvent *event)
{
    if (std::exchange(m_keyboardFocus, false))
        update();
    QWidget::focusOutEvent(event);
}
