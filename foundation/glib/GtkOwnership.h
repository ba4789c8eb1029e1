#pragma once
// Ownership of GTK's widgets, for vocabra-tray and its answer window library alike. Header-only,
// like GLibOwnership.h.

#include <gtk/gtk.h>

#include <memory>

namespace glib {

// A widget held until this owner goes: the owner holds a reference of its own (a floating one is
// sunk), and on going destroys the widget, which takes a top-level window off the screen and out
// of GTK's hands, then drops that reference. A widget that GTK destroyed meanwhile (a window the
// user closed) is destroyed only once.
struct WidgetDestroy {
    void operator()(GtkWidget* widget) const noexcept
    {
        gtk_widget_destroy(widget);
        g_object_unref(widget);
    }
};
using OwnedWidget = std::unique_ptr<GtkWidget, WidgetDestroy>;
inline OwnedWidget OwnWidget(GtkWidget* widget)
{
    return OwnedWidget(GTK_WIDGET(g_object_ref_sink(widget)));
}

}  // namespace glib
