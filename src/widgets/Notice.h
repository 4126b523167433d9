// SPDX-License-Identifier: MIT
#pragma once

#include <QLabel>

class QTimer;

// A short message drawn over the window: it moves no control, mouse clicks
// pass through it, and a screen reader reads it as the window's status bar,
// whose name is the message. It keeps its bottom edge and width and grows
// upward as its wrapped text needs; a word too wide for a line (a path) is
// shortened in its middle.
class Notice : public QLabel
{
    Q_OBJECT

public:
    explicit Notice(QWidget *parent = nullptr);

    // Shows text over the window's bottom edge, for longer the longer it is.
    void say(const QString &text);
    // Keeps what is said until the user's next key or click in the window:
    // for a refusal, which must not go unread.
    void holdUntilNextAction();
    // Tells a screen reader text through the status bar's name, showing
    // nothing: for changes the window itself shows, or keeps silent on.
    void announce(const QString &text);

    // What the notice shows while it has nothing to say, until changed: a
    // state that lasts (a simulation of another eye); empty for none.
    void setStanding(const QString &text);
    QString standing() const { return m_standing; }

    // How long text stays, in milliseconds, when not held.
    static int shownMsFor(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // text with every word too wide for a line shortened in its middle.
    QString fitted(const QString &text) const;
    void release();
    void place(const QString &text);
    // Back to the standing words, or hidden when there are none.
    void rest();

    QTimer *m_timer;
    bool m_held = false;
    QString m_standing;
};
