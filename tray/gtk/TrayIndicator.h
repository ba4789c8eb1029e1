#pragma once
// The program's icon in the notification area: a StatusNotifierItem (Ayatana AppIndicator) while
// the desktop runs a watcher for them, the XEmbed tray (GtkStatusIcon) otherwise.

#include <gtk/gtk.h>

#include <functional>
#include <memory>
#include <string>

namespace tray::gtk {

// The widget name of the menu's Open item: a middle click on a StatusNotifierItem activates it,
// as a double click on the XEmbed icon opens the dialog.
inline constexpr char kOpenItemName[] = "vocabra-open";

class TrayIndicator {
public:
    struct Handlers {
        std::function<void()> open;        // a double click on the icon
        std::function<GtkWidget*()> menu;  // a new menu, built for the moment it is shown
    };

    // Chooses the kind by asking the session bus (null: none) for a StatusNotifierItem watcher, and
    // changes it whenever the watcher comes or goes.
    static std::unique_ptr<TrayIndicator> Create(GDBusConnection* sessionBus, Handlers handlers);

    virtual ~TrayIndicator() = default;
    // The icon's image, and its file for the kinds that pass names instead of pixels.
    virtual void SetIcon(GdkPixbuf* image, const std::string& file) = 0;
    virtual void SetTip(const std::string& tip) = 0;
    // The menu's content changed (a StatusNotifierItem publishes its menu ahead of time).
    virtual void MenuChanged() = 0;
};

}  // namespace tray::gtk
