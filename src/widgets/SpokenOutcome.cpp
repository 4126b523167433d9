// SPDX-License-Identifier: MIT
#include "widgets/SpokenOutcome.h"

#include <QAccessibleInterface>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace {

// Outcomes kept after they were told: a screen reader reads one some time
// after it appeared, and the object must still be there then.
constexpr int kept = 4;

// One outcome: a notification of the window, named by its words, with no
// widget and nothing drawn.
class Outcome : public QAccessibleInterface
{
public:
    Outcome(QWidget *window, const QString &text) : m_window(window), m_text(text) {}

    bool isValid() const override { return m_window; }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_window ? m_window->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_window); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *focusChild() const override { return nullptr; }
    QString text(QAccessible::Text t) const override { return t == QAccessible::Name ? m_text : QString(); }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override { return QRect(); }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override { return QAccessible::State(); }

private:
    QPointer<QWidget> m_window;
    QString m_text;
};

} // namespace

SpokenOutcome::SpokenOutcome(QWidget *window) : QObject(window), m_window(window) {}

SpokenOutcome::~SpokenOutcome()
{
    for (QAccessible::Id id : std::as_const(m_outcomes))
        QAccessible::deleteAccessibleInterface(id);
}

void SpokenOutcome::say(const QString &text)
{
    if (text.isEmpty())
        return;
    auto *outcome = new Outcome(m_window, text);
    m_outcomes.append(QAccessible::registerAccessibleInterface(outcome));
    QAccessibleEvent shown(outcome, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
    while (m_outcomes.size() > kept)
        QAccessible::deleteAccessibleInterface(m_outcomes.takeFirst());
}

QStringList SpokenOutcome::standing() const
{
    QStringList words;
    for (QAccessible::Id id : m_outcomes) {
        if (QAccessibleInterface *outcome = QAccessible::accessibleInterface(id))
            words << outcome->text(QAccessible::Name);
    }
    return words;
}
