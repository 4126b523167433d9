// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

// One action of the user's (a click, a key, a movie's command) as the
// database sees it. Every statement the action runs shares one wait for
// other programs' locks: busyTimeoutMs() in all, however many statements
// it runs. Once that time is spent, any statement that meets a lock is
// refused at once; the action then changes nothing, keeps what the window
// shows and tells the user that the file is in use.
//
// Actions nest; the outermost one counts. A statement run outside any
// action waits up to busyTimeoutMs() on its own.
class UserAction
{
public:
    UserAction();
    ~UserAction();
    UserAction(const UserAction &) = delete;
    UserAction &operator=(const UserAction &) = delete;

    static bool isActive();

    // What the window shows while an action waits, installed by the window
    // (this layer has no widgets): Began once the action has waited a
    // second, Continues every few milliseconds after that, and Ended when
    // the action ends, if it had begun to wait visibly or gave up waiting.
    enum class Wait { Began, Continues, Ended };
    using WaitHook = std::function<void(Wait wait, bool gaveUp)>;
    static void setWaitHook(WaitHook hook);
    // True while the hook runs: no statement may run then, as the engine
    // is in the middle of another one on the same connection.
    static bool isWaiting();

    // How long one action waits in all for other programs: the number of
    // milliseconds in TESSELLE_BUSY_TIMEOUT_MS when that is set (read once),
    // else 30 s. Tests set it shorter.
    static int busyTimeoutMs();
    // A wait shorter than this passes unseen: one threshold everywhere.
    static constexpr int visibleAfterMs = 1000;

    // The engine's busy handler, installed on every connection: nonzero to
    // try again after a short sleep, zero to give up.
    static int busyHandler(void *, int attempts);
};
