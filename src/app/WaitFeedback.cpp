// SPDX-License-Identifier: MIT
#include "app/WaitFeedback.h"

#include "app/Form1.h"

#include <QCoreApplication>
#include <QGuiApplication>

WaitFeedback::WaitFeedback(Form1 *window) : QObject(window), m_window(window)
{
    UserAction::setWaitHook([this](UserAction::Wait wait, bool gaveUp) { onWait(wait, gaveUp); });
}

WaitFeedback::~WaitFeedback()
{
    UserAction::setWaitHook(nullptr);
    if (m_cursorSet)
        QGuiApplication::restoreOverrideCursor();
}

void WaitFeedback::onWait(UserAction::Wait wait, bool gaveUp)
{
    switch (wait) {
    case UserAction::Wait::Began:
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        m_cursorSet = true;
        m_window->showNotice(tr("Waiting for another program using the collection\u2026"));
        break;
    case UserAction::Wait::Continues:
        break;
    case UserAction::Wait::Ended:
        if (m_cursorSet) {
            QGuiApplication::restoreOverrideCursor();
            m_cursorSet = false;
        }
        if (gaveUp)
            m_window->showRefusal(tr("The collection is in use by another program; try again."));
        return;
    }
    // Paints what changed (the notice, the cursor) and runs timers; clicks
    // and keys wait until the action is over.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
