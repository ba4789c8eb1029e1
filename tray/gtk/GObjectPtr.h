#pragma once
// Ownership of GLib's objects and strings, released once by whoever holds them last.

#include <gtk/gtk.h>

#include <memory>

namespace tray::gtk {

struct GObjectUnref {
    void operator()(gpointer object) const noexcept { g_object_unref(object); }
};
template <class T>
using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

struct GFree {
    void operator()(gpointer memory) const noexcept { g_free(memory); }
};
using GCharPtr = std::unique_ptr<gchar, GFree>;

struct GErrorFree {
    void operator()(GError* error) const noexcept { g_error_free(error); }
};
using GErrorPtr = std::unique_ptr<GError, GErrorFree>;

// A widget held until this owner goes: a floating reference is sunk and dropped with the owner,
// which also destroys a top-level window.
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

}  // namespace tray::gtk
