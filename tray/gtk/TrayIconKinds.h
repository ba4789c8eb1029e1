#pragma once
// The two kinds of icon the program's TrayIndicator switches between, as the desktop's
// StatusNotifierWatcher comes and goes. Each shows what it is told until it goes; the handlers
// belong to the indicator and outlive it.

#include <functional>
#include <memory>

#include "tray/gtk/TrayIndicator.h"

namespace tray::gtk {

// An XEmbed tray icon (GtkStatusIcon): a double click opens, a right click shows a new menu. On a
// display other than X11 (Wayland) there is no XEmbed tray: an icon that shows nothing.
std::unique_ptr<TrayIndicator> MakeStatusIcon(const TrayIndicator::Handlers& handlers);

// A StatusNotifierItem (Ayatana AppIndicator) with its menu published on the session bus; a middle
// click activates the menu's Open item. `hostLost` runs, from the main loop and never from inside
// the item's own call, when the item finds no watcher to show it (the watcher refused it, or went).
// The item never falls back to an icon of its own: the indicator chooses the XEmbed icon then.
std::unique_ptr<TrayIndicator> MakeNotifierItem(const TrayIndicator::Handlers& handlers,
                                                std::function<void()> hostLost);

}  // namespace tray::gtk
