// SPDX-License-Identifier: MIT
#include "app/WaitFeedback.h"

#include "app/Form1.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

namespace {
// How often the window is painted again while the wait goes on.
constexpr int repaintEveryMs = 250;
} // namespace

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
        if (m_sincePainted.isValid() && m_sincePainted.elapsed() < repaintEveryMs)
            return;
        break;
    case UserAction::Wait::Ended:
        if (m_cursorSet) {
            QGuiApplication::restoreOverrideCursor();
            m_cursorSet = false;
        }
        m_sincePainted.invalidate();
        if (gaveUp)
            m_window->showRefusal(tr("The collection is in use by another program; try again."));
        return;
    }
    // The window is painted here and now, the notice and the cursor with
    // it, and nothing else runs: no event is dispatched while the action
    // waits. Running the event loop here would run timers and deferred
    // deletions under the handler that waits (a menu deleted while its own
    // key handler is still running the action it triggered).
    // A window's repaint paints its own area only: the controls over it
    // (the notice among them, and any a closed dialog uncovered) are marked
    // first, and painted with it at once.
    const QList<QWidget *> controls = m_window->findChildren<QWidget *>();
    for (QWidget *control : controls) {
        if (control->isVisible())
            control->update();
    }
    m_window->repaint();
    // On X11 the painting is sent now, not when the event loop would.
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        if (auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
            xcb_flush(x11->connection());
    }
    m_sincePainted.start();
}
