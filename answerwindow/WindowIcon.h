#pragma once

#include <gtk/gtk.h>

namespace answerwindow {

// Gives `window` the image in the file at `path` (any format gdk-pixbuf reads: the services'
// icons are .ico files) as its icon; leaves it without one when the file cannot be read.
void SetIconFromFile(GtkWindow* window, const char* path);

}  // namespace answerwindow
