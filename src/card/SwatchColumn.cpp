// SPDX-License-Identifier: MIT
#include "card/SwatchColumn.h"

#include "widgets/FocusCue.h"
#include "widgets/Swatch.h"

#include <QAccessibleWidget>
#include <QPainter>

#include <utility>

namespace {

// To a screen reader the column is the list the swatches stand in: they
// are its children, wherever their widgets lie.
class AccessibleColumn : public QAccessibleWidget
{
public:
    explicit AccessibleColumn(SwatchColumn *column) : QAccessibleWidget(column, QAccessible::List) {}

    int childCount() const override
    {
        const ControlArray<Swatch> *swatches = column()->swatches();
        return swatches ? qMax(0, swatches->count() - 1) : 0;
    }
    QAccessibleInterface *child(int index) const override
    {
        const ControlArray<Swatch> *swatches = column()->swatches();
        Swatch *swatch = swatches && index >= 0 ? (*swatches)(index + 1) : nullptr;
        return swatch ? QAccessible::queryAccessibleInterface(swatch) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const ControlArray<Swatch> *swatches = column()->swatches();
        auto *swatch = child ? qobject_cast<Swatch *>(child->object()) : nullptr;
        if (!swatches || !swatch || swatch->row() < 1 || (*swatches)(swatch->row()) != swatch)
            return -1;
        return swatch->row() - 1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        for (int i = 0; i < childCount(); ++i) {
            QAccessibleInterface *item = child(i);
            if (item && item->rect().contains(x, y))
                return item;
        }
        return nullptr;
    }
    QAccessibleInterface *focusChild() const override
    {
        if (Swatch *framed = column()->framed(); framed && column()->hasFocus())
            return QAccessible::queryAccessibleInterface(framed);
        return QAccessibleWidget::focusChild();
    }

private:
    SwatchColumn *column() const { return static_cast<SwatchColumn *>(widget()); }
};

QAccessibleInterface *accessibleColumn(const QString &className, QObject *object)
{
    if (className == QLatin1String("SwatchColumn") && object && object->isWidgetType())
        return new AccessibleColumn(static_cast<SwatchColumn *>(object));
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

Swatch *SwatchColumn::framed() const
{
    if (!m_swatches)
        return nullptr;
    for (int index : m_swatches->indexes()) {
        Swatch *swatch = (*m_swatches)(index);
        if (index >= 1 && swatch->isFramed())
            return swatch;
    }
    return nullptr;
}

void SwatchColumn::presentFocus()
{
    if (!hasFocus() || !QAccessible::isActive())
        return;
    Swatch *swatch = framed();
    QAccessibleEvent event(swatch ? static_cast<QObject *>(swatch) : this, QAccessible::Focus);
    QAccessible::updateAccessibility(&event);
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
    if (framed())
        presentFocus();
}

void SwatchColumn::focusOutEvent(QFocusEvent *event)
{
    if (std::exchange(m_keyboardFocus, false))
        update();
    QWidget::focusOutEvent(event);
}
