// The StatusNotifierItem (Ayatana AppIndicator), for desktops whose panel runs a watcher for them.
#include <libayatana-appindicator/app-indicator.h>

#include <string>
#include <string_view>

#include "foundation/glib/CallbackGuard.h"
#include "tray/gtk/GObjectPtr.h"
#include "tray/gtk/TrayIconKinds.h"

namespace tray::gtk {
namespace {
constexpr char kOwnerKey[] = "vocabra-owner";

GtkStatusIcon* NoFallback(AppIndicator* indicator);

// AppIndicator watches the watcher too, and without one it makes an XEmbed icon of its own: 100 ms
// after the watcher goes, or at once when the watcher refuses the item. That icon would stand
// beside the indicator's own, without its double click or its tip. This type makes none; it tells
// its owner instead.
GType NotifierItemType()
{
    static const GType type = g_type_register_static_simple(
        APP_INDICATOR_TYPE, "VocabraNotifierItem", sizeof(AppIndicatorClass),
        [](gpointer klass, gpointer) {
            auto* indicatorClass = static_cast<AppIndicatorClass*>(klass);
            indicatorClass->fallback = &NoFallback;
            indicatorClass->unfallback = nullptr;
        },
        sizeof(AppIndicator), nullptr, static_cast<GTypeFlags>(0));
    return type;
}

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
    NotifierItemIndicator(const Handlers& handlers, std::function<void()> hostLost)
        : m_handlers(handlers),
          m_hostLost(std::move(hostLost)),
          m_indicator(APP_INDICATOR(g_object_new(NotifierItemType(),
                                                 "id",
                                                 "vocabra-tray",
                                                 "category",
                                                 "ApplicationStatus",
                                                 "icon-name",
                                                 "vocabra",
                                                 nullptr)))
    {
        g_object_set_data(G_OBJECT(m_indicator.get()), kOwnerKey, this);
        app_indicator_set_title(m_indicator.get(), "Vocabra");
        MenuChanged();
        app_indicator_set_status(m_indicator.get(), APP_INDICATOR_STATUS_ACTIVE);
    }

    ~NotifierItemIndicator() override
    {
        // The library may hold the object a little longer, for a call of its own still under way;
        // it finds no owner then.
        g_object_set_data(G_OBJECT(m_indicator.get()), kOwnerKey, nullptr);
        app_indicator_set_status(m_indicator.get(), APP_INDICATOR_STATUS_PASSIVE);
    }

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

    // From inside the library: the owner hears of it on the next turn of the main loop, when the
    // library is done with the object.
    void HostLost()
    {
        if (!m_hostLostCall)
            m_hostLostCall = glib::SourceId(g_idle_add(&NotifierItemIndicator::OnHostLost, this));
    }

private:
    static gboolean OnHostLost(gpointer data)
    {
        auto* self = static_cast<NotifierItemIndicator*>(data);
        self->m_hostLostCall.Forget();  // ends with this call, which may end the item too
        glib::GuardCallback("the StatusNotifierItem without a host", [self] {
            // A copy: the owner's answer is to end this item, and with it m_hostLost.
            const std::function<void()> hostLost = self->m_hostLost;
            hostLost();
        });
        return G_SOURCE_REMOVE;
    }

    const Handlers& m_handlers;
    std::function<void()> m_hostLost;
    // Outlives the item: the item watches its menu's items until it goes.
    OwnedWidget m_menu;
    GObjectPtr<AppIndicator> m_indicator;
    glib::SourceId m_hostLostCall;
};

GtkStatusIcon* NoFallback(AppIndicator* indicator)
{
    glib::GuardCallback("the StatusNotifierItem's fallback", [indicator] {
        if (auto* owner = static_cast<NotifierItemIndicator*>(g_object_get_data(G_OBJECT(indicator), kOwnerKey)))
            owner->HostLost();
    });
    return nullptr;
}
}  // namespace

std::unique_ptr<TrayIndicator> MakeNotifierItem(const TrayIndicator::Handlers& handlers, std::function<void()> hostLost)
{
    return std::make_unique<NotifierItemIndicator>(handlers, std::move(hostLost));
}

}  // namespace tray::gtk
