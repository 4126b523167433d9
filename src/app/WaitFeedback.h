// SPDX-License-Identifier: MIT
#pragma once

#include "data/UserAction.h"

#include <QElapsedTimer>
#include <QObject>

class Form1;

// What the window shows while one of the user's actions waits for another
// program that holds the database: after a second, a busy cursor and a
// notice, the window painted again as the wait goes on; no event is
// handled until the action ends; when the action gave up, why nothing
// happened. Installed by the window for as long as it lives.
class WaitFeedback : public QObject
{
    Q_OBJECT

public:
    explicit WaitFeedback(Form1 *window);
    ~WaitFeedback() override;

private:
    void onWait(UserAction::Wait wait, bool gaveUp);

    Form1 *m_window;
    bool m_cursorSet = false;
    QElapsedTimer m_sincePainted;
};
