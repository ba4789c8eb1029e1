#pragma once
// The monitor a window goes to when nothing tells which one the user works on.

#include <gdk/gdk.h>

namespace glib {

// The primary monitor, else the first: an X server may name no primary one (a plain Xvfb, or
// monitors among which nobody chose). Null only without any monitor.
inline GdkMonitor* PrimaryMonitor(GdkDisplay* display)
{
    GdkMonitor* const primary = gdk_display_get_primary_monitor(display);
    return primary ? primary : gdk_display_get_monitor(display, 0);
}

}  // namespace glib
