#pragma once
// Work that may wait for the network or another process, run off a thread that must keep
// answering: the tray program's main thread services its low-level keyboard hook, and Windows
// silently removes a hook that does not answer in time.

#include <chrono>
#include <functional>
#include <optional>

#include "foundation/threads/MessagePump_win32.h"

namespace threads {

struct PumpedWork {
    enum class End {
        Finished,    // the work ended; `result` is its answer (none when it threw)
        Quit,        // the quit message came; it has been posted again for the caller's loop
        TimedOut,    // `limit` passed first
        NotStarted,  // no thread could be started; the work did not run
    };
    End end = End::NotStarted;
    std::optional<bool> result;
};

// Runs `work` on a thread of its own (with COM, multithreaded apartment) while the calling thread
// keeps dispatching its messages, each offered to `filter` first as its own loop does: synchronous
// for the caller, yet its windows, dialog keys and hooks stay responsive. Unless the work has
// ended, a quit message or the end of `limit` ends the wait at once; the work is then abandoned
// and ends by itself.
PumpedWork RunWhilePumping(std::function<bool()> work, std::chrono::milliseconds limit, const MessageFilter& filter);

}  // namespace threads
