#pragma once

#include <gtk/gtk.h>

namespace answerwindow {

// Sizes `window` to width x height and centres it on the primary monitor's work area (the part
// that panels leave free), as the Windows program centres its answers on the screen.
void PlaceCentred(GtkWindow* window, int width, int height);

// Shows `window` in front of the others, with the keyboard focus.
void BringToFront(GtkWindow* window);

}  // namespace answerwindow
