#pragma once

#include <gtk/gtk.h>

#include <cstdint>

namespace answerwindow {

// Sizes `window` to width x height in 96-DPI units (GTK's scale factor applied), shrunk to fit the
// work area of the monitor that holds the focused window (the pointer's when no window has the
// focus), and centres it there. Answers the place and size given, in GTK's units.
GdkRectangle PlaceOnFocusedMonitor(GtkWindow* window, std::int32_t width, std::int32_t height);

// Shows `window` in front of the others, with the keyboard focus.
void BringToFront(GtkWindow* window);

}  // namespace answerwindow
