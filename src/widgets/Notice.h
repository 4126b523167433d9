// SPDX-License-Identifier: MIT
#pragma once

#include <QLabel>

class QTimer;

// A short message drawn over the window for a few seconds: it moves no
// control, mouse clicks pass through it, and a screen reader reads it as
// the window's status bar, whose name is the message.
class Notice : public QLabel
{
    Q_OBJECT

public:
    explicit Notice(QWidget *parent = nullptr);

    // Shows text over the window's bottom edge for a few seconds.
    void say(const QString &text);
    // Tells a screen reader text through the status bar's name, showing
    // nothing: for changes the window itself shows, or keeps silent on.
    void announce(const QString &text);

private:
    QTimer *m_timer;
};
