// SPDX-License-Identifier: MIT
#pragma once

#include <QAccessible>
#include <QObject>
#include <QVector>

class QWidget;

// Tells a screen reader what an action came to, showing nothing. A screen
// reader presents what happens to the object with the keyboard and drops
// news about most others; a notification that appears it reads out
// wherever the keyboard is. Each outcome is such a notification of its
// own, over the window, named by the outcome: the same words twice are two
// notifications, and one read stays with the few after it and then goes,
// so that nothing is read again when the focus comes back.
class SpokenOutcome : public QObject
{
    Q_OBJECT

public:
    explicit SpokenOutcome(QWidget *window);
    ~SpokenOutcome() override;

    void say(const QString &text);

    // The words of the outcomes still standing, oldest first.
    QStringList standing() const;

private:
    QWidget *m_window;
    QVector<QAccessible::Id> m_outcomes;
};
