#pragma once
// The boundary between GLib's C callbacks (signals, D-Bus handlers, main loop sources, async
// results) and the C++ behind them. An exception must not unwind through GLib's C frames: they
// cannot clean up after it, and the runtime ends the program. A callback that fails is reported,
// and the main loop goes on with the next event. Out of memory (std::bad_alloc) is no different.

#include <utility>

namespace glib {

// Reports the exception being handled as having left the callback `where`. Called only inside a
// catch block; never throws. Every program or library that uses the guard links one definition:
// the desktop program writes to its diagnostic log, the answer window library to GLib's log.
void ReportCallbackFailure(const char* where) noexcept;

template <class Callback>
void GuardCallback(const char* where, Callback&& callback) noexcept
{
    try {
        std::forward<Callback>(callback)();
    } catch (...) {
        ReportCallbackFailure(where);
    }
}

// For a callback that answers GLib: `onFailure` is the answer when it threw.
template <class Callback, class Result>
Result GuardCallback(const char* where, Callback&& callback, Result onFailure) noexcept
{
    try {
        return std::forward<Callback>(callback)();
    } catch (...) {
        ReportCallbackFailure(where);
        return onFailure;
    }
}

}  // namespace glib
