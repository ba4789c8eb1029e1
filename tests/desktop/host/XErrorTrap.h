#pragma once
// Icons are windows of other clients and can be destroyed at any moment, so any request about one
// may fail. Xlib's default error handler ends the process; this one records the error instead, and
// a trap tells the caller whether the requests made during its life failed.

#include <X11/Xlib.h>

// Replaces Xlib's error handler for the whole process; errors outside a trap are ignored.
void InstallRecordingErrorHandler();

// Traps do not nest: a new trap forgets the errors an enclosing one has not asked about yet.
class XErrorTrap {
public:
    // Flushes earlier requests first, so that their errors are not counted here.
    explicit XErrorTrap(Display* display);
    XErrorTrap(const XErrorTrap&) = delete;
    XErrorTrap& operator=(const XErrorTrap&) = delete;

    // Waits for the server to process every request made so far; true when any of those made
    // since the trap was set (or since the last call) failed.
    bool Failed();

private:
    Display* m_display;
};
