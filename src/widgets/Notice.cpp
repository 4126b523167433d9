// SPDX-License-Identifier: MIT
#include "widgets/Notice.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QTimer>

namespace {

constexpr int shownMs = 5000;

QAccessibleInterface *accessibleNotice(const QString &className, QObject *object)
{
    if (className == QLatin1String("Notice") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::StatusBar);
    return nullptr;
}

} // namespace

Notice::Notice(QWidget *parent) : QLabel(parent), m_timer(new QTimer(this))
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(accessibleNotice);
        return true;
    }();
    Q_UNUSED(factoryInstalled);

    setObjectName(QStringLiteral("notice"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setWordWrap(true);
    setAlignment(Qt::AlignCenter);
    setMargin(2);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(255, 255, 225));
    p.setColor(QPalette::WindowText, Qt::black);
    setPalette(p);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    hide();

    m_timer->setSingleShot(true);
    m_timer->setInterval(shownMs);
    connect(m_timer, &QTimer::timeout, this, &QWidget::hide);
}

void Notice::say(const QString &text)
{
    setText(text);
    // The status object's name carries the message to a screen reader.
    setAccessibleName(text);
    show();
    raise();
    m_timer->start();
}

void Notice::announce(const QString &text)
{
    if (accessibleName() != text) {
        setAccessibleName(text);
        return;
    }
    // The same words again (the same code not found twice) are news again.
    QAccessibleEvent event(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}
