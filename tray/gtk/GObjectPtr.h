#pragma once
// Ownership of GLib's objects and strings, and of GTK's widgets.

#include <gtk/gtk.h>

#include <memory>

#include "foundation/glib/GLibOwnership.h"

namespace tray::gtk {

using glib::GCharPtr;
using glib::GErrorPtr;
using glib::GObjectPtr;

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
