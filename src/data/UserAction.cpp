// SPDX-License-Identifier: MIT
#include "data/UserAction.h"

#include <QCoreApplication>
#include <QThread>
#include <QtGlobal>

#include <algorithm>
#include <chrono>
#include <iterator>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int defaultBusyTimeoutMs = 30000;

struct State
{
    int depth = 0;             // actions under way, nested
    bool waitStarted = false;  // the action (or the statement, outside one) has met a lock
    Clock::time_point waitStart;
    bool gaveUp = false;       // the action spent its wait
    bool shown = false;        // Began was sent
    bool inHook = false;
    int timeoutMs = -1;        // -1: not read yet
    UserAction::WaitHook hook;
};

State &state()
{
    static State s;
    return s;
}

void callHook(UserAction::Wait wait, bool gaveUp)
{
    State &s = state();
    if (!s.hook || s.inHook)
        return;
    // What is shown is the window's, on its thread only.
    if (!QCoreApplication::instance() || QThread::currentThread() != QCoreApplication::instance()->thread())
        return;
    s.inHook = true;
    s.hook(wait, gaveUp);
    s.inHook = false;
}

} // namespace

UserAction::UserAction()
{
    State &s = state();
    if (s.depth++ == 0) {
        s.waitStarted = false;
        s.gaveUp = false;
        s.shown = false;
    }
}

UserAction::~UserAction()
{
    State &s = state();
    if (--s.depth > 0)
        return;
    if (s.shown || s.gaveUp)
        callHook(Wait::Ended, s.gaveUp);
    s.waitStarted = false;
    s.gaveUp = false;
    s.shown = false;
}

bool UserAction::isActive()
{
    return state().depth > 0;
}

void UserAction::setWaitHook(WaitHook hook)
{
    state().hook = std::move(hook);
}

bool UserAction::isWaiting()
{
    return state().inHook;
}

int UserAction::busyTimeoutMs()
{
    State &s = state();
    if (s.timeoutMs < 0) {
        bool ok = false;
        const int fromEnvironment = qEnvironmentVariableIntValue("TESSELLE_BUSY_TIMEOUT_MS", &ok);
        s.timeoutMs = ok && fromEnvironment >= 0 ? fromEnvironment : defaultBusyTimeoutMs;
    }
    return s.timeoutMs;
}

int UserAction::busyHandler(void *, int attempts)
{
    State &s = state();
    // A statement run while the hook repaints the window would re-enter
    // the engine: it is refused rather than waited for.
    if (s.inHook)
        return 0;
    const Clock::time_point now = Clock::now();
    if (s.depth == 0) {
        // Outside an action, each statement waits on its own.
        if (attempts == 0) {
            s.waitStarted = true;
            s.waitStart = now;
        }
    } else {
        if (s.gaveUp)
            return 0;
        if (!s.waitStarted) {
            s.waitStarted = true;
            s.waitStart = now;
        }
    }
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(now - s.waitStart).count();
    const int timeout = busyTimeoutMs();
    if (waited >= timeout) {
        if (s.depth > 0)
            s.gaveUp = true;
        return 0;
    }
    if (s.depth > 0 && waited >= UserAction::visibleAfterMs) {
        const bool first = !s.shown;
        s.shown = true;
        callHook(first ? Wait::Began : Wait::Continues, false);
    }
    // Short sleeps at first, as a lock is often held only for a moment.
    static constexpr int delaysMs[] = {1, 2, 5, 10, 15, 20, 25};
    const int delay = delaysMs[std::min<int>(attempts, int(std::size(delaysMs)) - 1)];
    const auto left = timeout - std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - s.waitStart).count();
    std::this_thread::sleep_for(std::chrono::milliseconds(std::max<qint64>(1, std::min<qint64>(delay, left))));
    return 1;
}
