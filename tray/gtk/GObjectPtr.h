#pragma once
// Ownership of GLib's objects and strings, and of GTK's widgets, under vocabra-tray's names.

#include "foundation/glib/GLibOwnership.h"
#include "foundation/glib/GtkOwnership.h"

namespace tray::gtk {

using glib::GCharPtr;
using glib::GErrorPtr;
using glib::GObjectPtr;
using glib::OwnedWidget;
using glib::OwnWidget;

}  // namespace tray::gtk
