#pragma once
// The desktop's own global shortcut for "translate the clipboard", through the XDG desktop
// portal (org.freedesktop.portal.GlobalShortcuts). Under Wayland no program sees the keys of
// another, so this is the only way to a shortcut that works in every window; the desktop asks
// the user which keys to use.
//
// Lives on the GTK main thread and never blocks it: every D-Bus call is asynchronous, and the
// callbacks run from the main loop.

#include <functional>
#include <memory>
#include <string>

namespace tray::gtk {

// The identifier the program binds; the portal reports activations by it.
inline constexpr char kTranslateClipboardShortcutId[] = "translate-clipboard";

// The keys the program proposes, in the XDG shortcuts format (modifiers CTRL, ALT, SHIFT, NUM and
// LOGO and an xkbcommon key name, joined by '+'). The desktop may choose others, or let the user.
inline constexpr char kDefaultPreferredTrigger[] = "CTRL+ALT+c";

enum class PortalShortcutState {
    Unavailable,  // not started, or no bus, no portal, no global shortcuts, refused, closed or failed
    Pending,      // waiting for the bus, the portal or the user
    Bound,        // the desktop calls back when the user presses the shortcut
};

class GlobalShortcutPortal {
public:
    // `activated` runs once for every activation of the shortcut, from the main loop, with the
    // activation token the desktop sent along (empty when none): with it, the program may take
    // the focus for what the shortcut does.
    using ActivatedCallback = std::function<void(const std::string& activationToken)>;
    explicit GlobalShortcutPortal(ActivatedCallback activated);
    // Closes the session and any pending request at the portal; no callback runs afterwards.
    ~GlobalShortcutPortal();
    GlobalShortcutPortal(const GlobalShortcutPortal&) = delete;
    GlobalShortcutPortal& operator=(const GlobalShortcutPortal&) = delete;

    // `changed` runs whenever State() or TriggerDescription() changes (Start included). It and
    // `activated` may destroy this object.
    void SetChangedCallback(std::function<void()> changed);

    // Asks the portal for the shortcut, described to the user by `description` (in the user's
    // language); the answer arrives later through the changed callback. Only the first call counts.
    void Start(const std::string& description, const std::string& preferredTrigger = kDefaultPreferredTrigger);

    PortalShortcutState State() const;
    // How the desktop says the shortcut is pressed ("Ctrl+Alt+C"), for "Shortcut: ..." in the
    // dialog; empty until bound, or when the desktop does not say.
    const std::string& TriggerDescription() const;

private:
    class Client;
    std::unique_ptr<Client> m_client;
};

}  // namespace tray::gtk
