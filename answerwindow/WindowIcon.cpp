#include "answerwindow/WindowIcon.h"

#include "foundation/glib/GLibOwnership.h"

namespace answerwindow {

void SetIconFromFile(GtkWindow* window, const char* path)
{
    if (!path || !*path)
        return;
    // A service without a readable icon still gets its answer shown: the error is not wanted.
    const glib::GObjectPtr<GdkPixbuf> icon(gdk_pixbuf_new_from_file(path, nullptr));
    if (icon)
        gtk_window_set_icon(window, icon.get());
}

}  // namespace answerwindow
