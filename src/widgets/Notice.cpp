// SPDX-License-Identifier: MIT
#include "widgets/Notice.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QRegularExpression>
#include <QTimer>

namespace {

// Five seconds for a few words; beyond that the time to read the rest at a
// slow reading pace.
constexpr int leastShownMs = 5000;
constexpr int msPerCharacter = 70;
constexpr int leastHeight = 30;

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
    setTextFormat(Qt::PlainText);
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
    connect(m_timer, &QTimer::timeout, this, &Notice::rest);
}

int Notice::shownMsFor(const QString &text)
{
    return qMax(leastShownMs, 2000 + msPerCharacter * int(text.size()));
}

QString Notice::fitted(const QString &text) const
{
    const int line = width() - 2 * (frameWidth() + margin()) - 2;
    const QFontMetrics metrics(font());
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString &textLine : lines) {
        QStringList words = textLine.split(QLatin1Char(' '));
        for (QString &word : words) {
            if (metrics.horizontalAdvance(word) > line)
                word = metrics.elidedText(word, Qt::ElideMiddle, line);
        }
        textLine = words.join(QLatin1Char(' '));
    }
    return lines.join(QLatin1Char('\n'));
}

void Notice::say(const QString &text)
{
    release();
    place(text);
    m_timer->start(shownMsFor(text));
}

void Notice::setStanding(const QString &text)
{
    m_standing = text;
    if (!m_timer->isActive() && !m_held)
        rest();
}

void Notice::rest()
{
    if (m_standing.isEmpty()) {
        hide();
        return;
    }
    place(m_standing);
}

void Notice::place(const QString &text)
{
    // The bottom edge stays where the window put it; the top rises with the
    // lines the text needs, within the window.
    const QRect at = geometry();
    setText(fitted(text));
    const int most = parentWidget() ? at.bottom() + 1 : 10000;
    const int height = qBound(leastHeight, heightForWidth(at.width()), qMax(leastHeight, most));
    setGeometry(at.x(), at.bottom() + 1 - height, at.width(), height);
    // The status object's name carries the whole message to a screen reader.
    setAccessibleName(text);
    show();
    raise();
}

void Notice::holdUntilNextAction()
{
    if (isHidden())
        return;
    m_timer->stop();
    if (m_held)
        return;
    m_held = true;
    // From the next event on: the key or click being handled now is the
    // action that was refused.
    QTimer::singleShot(0, this, [this] {
        if (m_held)
            qApp->installEventFilter(this);
    });
}

void Notice::release()
{
    if (m_held)
        qApp->removeEventFilter(this);
    m_held = false;
}

bool Notice::eventFilter(QObject *watched, QEvent *event)
{
    // The user's next key or click in this window is the next action: what
    // was held has been seen.
    const QEvent::Type type = event->type();
    if ((type == QEvent::KeyPress || type == QEvent::MouseButtonPress) && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->window() == window()) {
        release();
        rest();
    }
    return QLabel::eventFilter(watched, event);
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
