// SPDX-License-Identifier: MIT
#include "card/SwatchColumn.h"

#include "widgets/FocusCue.h"

#include <QAccessibleWidget>
#include <QPainter>

#include <utility>

namespace {

// To a screen reader the column is the list the swatches stand in.
QAccessibleInterface *accessibleColumn(const QString &className, QObject *object)
{
    if (className == QLatin1String("SwatchColumn") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::List);
    return nullptr;
}

} // namespace

SwatchColumn::SwatchColumn(QWidget *parent) : QWidget(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(accessibleColumn);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
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
