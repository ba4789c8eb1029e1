#pragma once
// Owners for the GTK objects the answer window holds: a reference of a GObject, and a top-level
// window, which GTK itself keeps alive until it is destroyed.

#include <gtk/gtk.h>

#include <memory>

namespace answerwindow {

struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};

template <class T>
using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

struct WidgetDestroy {
    void operator()(GtkWidget* widget) const { gtk_widget_destroy(widget); }
};

using OwnedToplevel = std::unique_ptr<GtkWidget, WidgetDestroy>;

}  // namespace answerwindow
