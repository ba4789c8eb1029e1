#include "tray/gtk/TrayIndicator.h"

#include <libayatana-appindicator/app-indicator.h>

#include <string_view>

#include "tray/gtk/GObjectPtr.h"

namespace tray::gtk {
namespace {
constexpr char kWatcherName[] = "org.kde.StatusNotifierWatcher";

// GtkStatusIcon is GTK 3's only XEmbed tray icon; it is deprecated in favour of nothing on X11.
G_GNUC_BEGIN_IGNORE_DEPRECATIONS

class StatusIconIndicator final : public TrayIndicator {
public:
    explicit StatusIconIndicator(Handlers handlers) : m_handlers(std::move(handlers)), m_icon(gtk_status_icon_new())
    {
        gtk_status_icon_set_title(m_icon.get(), "Vocabra");
        gtk_status_icon_set_name(m_icon.get(), "vocabra-tray");
        g_signal_connect(m_icon.get(), "button-press-event", G_CALLBACK(OnButtonPress), this);
        g_signal_connect(m_icon.get(), "popup-menu", G_CALLBACK(OnPopupMenu), this);
        gtk_status_icon_set_visible(m_icon.get(), TRUE);
    }

    ~StatusIconIndicator() override
    {
        g_signal_handlers_disconnect_by_data(m_icon.get(), this);
        gtk_status_icon_set_visible(m_icon.get(), FALSE);
    }

    void SetIcon(GdkPixbuf* image, const std::string&) override { gtk_status_icon_set_from_pixbuf(m_icon.get(), image); }
    void SetTip(const std::string& tip) override { gtk_status_icon_set_tooltip_text(m_icon.get(), tip.c_str()); }
    void MenuChanged() override {}

private:
    static gboolean OnButtonPress(GtkStatusIcon*, GdkEventButton* event, gpointer self)
    {
        if (event->type == GDK_2BUTTON_PRESS && event->button == GDK_BUTTON_PRIMARY) {
            static_cast<StatusIconIndicator*>(self)->m_handlers.open();
            return TRUE;
        }
        return FALSE;
    }

    static void OnPopupMenu(GtkStatusIcon*, guint, guint, gpointer data)
    {
        auto* self = static_cast<StatusIconIndicator*>(data);
        // Built afresh for every showing, so that it always reflects the settings; the one shown
        // before goes now that it is closed.
        self->m_menu = OwnWidget(self->m_handlers.menu());
        gtk_menu_popup_at_pointer(GTK_MENU(self->m_menu.get()), nullptr);
    }

    Handlers m_handlers;
    GObjectPtr<GtkStatusIcon> m_icon;
    OwnedWidget m_menu;
};

G_GNUC_END_IGNORE_DEPRECATIONS

// The menu's Open item, or null.
GtkWidget* OpenItem(GtkWidget* menu)
{
    GtkWidget* found = nullptr;
    GList* items = gtk_container_get_children(GTK_CONTAINER(menu));
    for (GList* item = items; item && !found; item = item->next) {
        if (std::string_view(gtk_widget_get_name(GTK_WIDGET(item->data))) == kOpenItemName)
            found = GTK_WIDGET(item->data);
    }
    g_list_free(items);
    return found;
}

class NotifierItemIndicator final : public TrayIndicator {
public:
    explicit NotifierItemIndicator(Handlers handlers)
        : m_handlers(std::move(handlers)),
          m_indicator(app_indicator_new("vocabra-tray", "vocabra", APP_INDICATOR_CATEGORY_APPLICATION_STATUS))
    {
        app_indicator_set_title(m_indicator.get(), "Vocabra");
        MenuChanged();
        app_indicator_set_status(m_indicator.get(), APP_INDICATOR_STATUS_ACTIVE);
    }

    ~NotifierItemIndicator() override { app_indicator_set_status(m_indicator.get(), APP_INDICATOR_STATUS_PASSIVE); }

    void SetIcon(GdkPixbuf*, const std::string& file) override
    {
        app_indicator_set_icon_full(m_indicator.get(), file.c_str(), "Vocabra");
    }

    // A StatusNotifierItem has no tip of its own; its title is what hosts show on hovering.
    void SetTip(const std::string& tip) override { app_indicator_set_title(m_indicator.get(), tip.c_str()); }

    void MenuChanged() override
    {
        OwnedWidget menu = OwnWidget(m_handlers.menu());
        gtk_widget_show_all(menu.get());
        app_indicator_set_menu(m_indicator.get(), GTK_MENU(menu.get()));
        app_indicator_set_secondary_activate_target(m_indicator.get(), OpenItem(menu.get()));
        m_menu = std::move(menu);
    }

private:
    Handlers m_handlers;
    GObjectPtr<AppIndicator> m_indicator;
    OwnedWidget m_menu;
};

bool HasNotifierWatcher(GDBusConnection* bus)
{
    if (!bus)
        return false;
    GErrorPtr error;
    GError* raw = nullptr;
    GVariant* reply = g_dbus_connection_call_sync(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                  "org.freedesktop.DBus", "NameHasOwner",
                                                  g_variant_new("(s)", kWatcherName), G_VARIANT_TYPE("(b)"),
                                                  G_DBUS_CALL_FLAGS_NONE, 1000, nullptr, &raw);
    error.reset(raw);
    if (!reply)
        return false;
    gboolean owned = FALSE;
    g_variant_get(reply, "(b)", &owned);
    g_variant_unref(reply);
    return owned;
}
}  // namespace

std::unique_ptr<TrayIndicator> TrayIndicator::Create(GDBusConnection* sessionBus, Handlers handlers)
{
    if (HasNotifierWatcher(sessionBus))
        return std::make_unique<NotifierItemIndicator>(std::move(handlers));
    return std::make_unique<StatusIconIndicator>(std::move(handlers));
}

}  // namespace tray::gtk
