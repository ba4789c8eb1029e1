// The XEmbed tray icon. GtkStatusIcon is GTK 3's only one; it is deprecated in favour of nothing
// on X11.
#include <gdk/gdkx.h>

#include <string>

#include "foundation/glib/CallbackGuard.h"
#include "tray/gtk/GObjectPtr.h"
#include "tray/gtk/TrayIconKinds.h"

namespace tray::gtk {
namespace {
G_GNUC_BEGIN_IGNORE_DEPRECATIONS

class StatusIconIndicator final : public TrayIndicator {
public:
    explicit StatusIconIndicator(const Handlers& handlers) : m_handlers(handlers), m_icon(gtk_status_icon_new())
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

    void SetIcon(GdkPixbuf* image, const std::string&) override
    {
        gtk_status_icon_set_from_pixbuf(m_icon.get(), image);
    }
    void SetTip(const std::string& tip) override { gtk_status_icon_set_tooltip_text(m_icon.get(), tip.c_str()); }
    void MenuChanged() override {}

private:
    static gboolean OnButtonPress(GtkStatusIcon*, GdkEventButton* event, gpointer self)
    {
        if (event->type != GDK_2BUTTON_PRESS || event->button != GDK_BUTTON_PRIMARY)
            return FALSE;
        return glib::GuardCallback(
            "a double click on the tray icon",
            [self] {
                static_cast<StatusIconIndicator*>(self)->m_handlers.open();
                return TRUE;
            },
            TRUE);
    }

    static void OnPopupMenu(GtkStatusIcon*, guint, guint, gpointer data)
    {
        glib::GuardCallback("the tray icon's menu", [data] {
            auto* self = static_cast<StatusIconIndicator*>(data);
            // Built afresh for every showing, so that it always reflects the settings; the one shown
            // before goes now that it is closed.
            self->m_menu = OwnWidget(self->m_handlers.menu());
            gtk_menu_popup_at_pointer(GTK_MENU(self->m_menu.get()), nullptr);
        });
    }

    const Handlers& m_handlers;
    GObjectPtr<GtkStatusIcon> m_icon;
    OwnedWidget m_menu;
};

G_GNUC_END_IGNORE_DEPRECATIONS

// XEmbed is X11's: a Wayland display has no tray to embed into, and GtkStatusIcon there has no
// window, so that every change to it is a GTK critical. The icon shows nowhere, as on an X11
// desktop without a tray; the dialog and the other ways in remain.
class NoTrayIndicator final : public TrayIndicator {
public:
    void SetIcon(GdkPixbuf*, const std::string&) override {}
    void SetTip(const std::string&) override {}
    void MenuChanged() override {}
};
}  // namespace

std::unique_ptr<TrayIndicator> MakeStatusIcon(const TrayIndicator::Handlers& handlers)
{
    if (!GDK_IS_X11_DISPLAY(gdk_display_get_default()))
        return std::make_unique<NoTrayIndicator>();
    return std::make_unique<StatusIconIndicator>(handlers);
}

}  // namespace tray::gtk
