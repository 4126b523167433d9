// SPDX-License-Identifier: MIT
#pragma once

#include <QEvent>
#include <QObject>
#include <QPointer>

#include <functional>

// Calls seen each time a widget is painted, for as long as it lives. While
// an action waits for another program no event is handled and no timer
// runs: what the wait shows is seen as it is painted.
class PaintWatch : public QObject
{
public:
    PaintWatch(QObject *widget, std::function<void()> seen) : m_widget(widget), m_seen(std::move(seen))
    {
        if (widget)
            widget->installEventFilter(this);
    }
    ~PaintWatch() override
    {
        if (m_widget)
            m_widget->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            m_seen();
        return false;
    }

private:
    QPointer<QObject> m_widget;
    std::function<void()> m_seen;
};
