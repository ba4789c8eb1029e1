#pragma once
// Owners for the GTK objects the answer window holds: a reference of a GObject, and a top-level
// window, which GTK itself keeps alive until it is destroyed.

#include <gtk/gtk.h>

#include <memory>

#include "foundation/glib/GLibOwnership.h"

namespace answerwindow {

using glib::GObjectPtr;

struct WidgetDestroy {
    void operator()(GtkWidget* widget) const { gtk_widget_destroy(widget); }
};

using OwnedToplevel = std::unique_ptr<GtkWidget, WidgetDestroy>;

}  // namespace answerwindow
