#include "tray/gtk/TrayIndicator.h"

#include <optional>

#include "foundation/glib/CallbackGuard.h"
#include "tray/gtk/GObjectPtr.h"
#include "tray/gtk/TrayIconKinds.h"

namespace tray::gtk {
namespace {
constexpr char kWatcherName[] = "org.kde.StatusNotifierWatcher";

using NameWatch = glib::OwnedId<g_bus_unwatch_name>;

bool HasNotifierWatcher(GDBusConnection* bus)
{
    GError* rawError = nullptr;
    const glib::GVariantPtr reply(g_dbus_connection_call_sync(
        bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "NameHasOwner",
        g_variant_new("(s)", kWatcherName), G_VARIANT_TYPE("(b)"), G_DBUS_CALL_FLAGS_NONE, 1000, nullptr, &rawError));
    const GErrorPtr error(rawError);
    gboolean owned = FALSE;
    if (reply)
        g_variant_get(reply.get(), "(b)", &owned);
    return owned;
}

// The icon of the kind the desktop shows now: a StatusNotifierItem while a watcher owns its name
// on the session bus, the XEmbed icon otherwise. Panels start with the session, in any order with
// the programs, and may restart: the kind follows the watcher for as long as the program runs, as
// the Windows program adds its icon again when the taskbar comes back. One icon at a time: the
// old one goes before the new one comes, with the same image, tip and menu.
class SwitchingIndicator final : public TrayIndicator {
public:
    SwitchingIndicator(GDBusConnection* bus, Handlers handlers) : m_handlers(std::move(handlers))
    {
        // Asked once now, so that the first icon is of the right kind, then followed.
        Show(bus && HasNotifierWatcher(bus) ? Kind::NotifierItem : Kind::StatusIcon);
        if (bus)
            m_watch = NameWatch(g_bus_watch_name_on_connection(bus, kWatcherName, G_BUS_NAME_WATCHER_FLAGS_NONE,
                                                               &SwitchingIndicator::OnWatcherAppeared,
                                                               &SwitchingIndicator::OnWatcherVanished, this, nullptr));
    }

    void SetIcon(GdkPixbuf* image, const std::string& file) override
    {
        m_image.reset(image ? GDK_PIXBUF(g_object_ref(image)) : nullptr);
        m_file = file;
        m_icon->SetIcon(m_image.get(), m_file);
    }

    void SetTip(const std::string& tip) override
    {
        m_tip = tip;
        m_icon->SetTip(tip);
    }

    void MenuChanged() override { m_icon->MenuChanged(); }

private:
    enum class Kind { StatusIcon, NotifierItem };

    void Show(Kind kind)
    {
        if (m_icon && kind == m_kind)
            return;
        m_icon.reset();
        m_kind = kind;
        m_icon = kind == Kind::NotifierItem ? MakeNotifierItem(m_handlers, [this] { Show(Kind::StatusIcon); })
                                            : MakeStatusIcon(m_handlers);
        if (m_image || !m_file.empty())
            m_icon->SetIcon(m_image.get(), m_file);
        if (m_tip)
            m_icon->SetTip(*m_tip);
    }

    static void OnWatcherAppeared(GDBusConnection*, const gchar*, const gchar*, gpointer self)
    {
        glib::GuardCallback("a StatusNotifierWatcher appears",
                            [self] { static_cast<SwitchingIndicator*>(self)->Show(Kind::NotifierItem); });
    }

    static void OnWatcherVanished(GDBusConnection*, const gchar*, gpointer self)
    {
        glib::GuardCallback("the StatusNotifierWatcher goes",
                            [self] { static_cast<SwitchingIndicator*>(self)->Show(Kind::StatusIcon); });
    }

    Handlers m_handlers;  // before the icon, which uses them
    GObjectPtr<GdkPixbuf> m_image;
    std::string m_file;
    std::optional<std::string> m_tip;
    Kind m_kind = Kind::StatusIcon;
    std::unique_ptr<TrayIndicator> m_icon;
    NameWatch m_watch;
};
}  // namespace

std::unique_ptr<TrayIndicator> TrayIndicator::Create(GDBusConnection* sessionBus, Handlers handlers)
{
    return std::make_unique<SwitchingIndicator>(sessionBus, std::move(handlers));
}

}  // namespace tray::gtk
