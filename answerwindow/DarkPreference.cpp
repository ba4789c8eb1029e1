#include "answerwindow/DarkPreference.h"

#include <gtk/gtk.h>

#include <cstring>

#include "foundation/glib/CallbackGuard.h"
#include "foundation/glib/DesktopPortal.h"
#include "foundation/glib/GLibOwnership.h"

namespace answerwindow {
namespace {
using glib::GVariantPtr;

using glib::kPortalBusName;
using glib::kPortalObjectPath;
constexpr char kSettingsInterface[] = "org.freedesktop.portal.Settings";
constexpr char kAppearance[] = "org.freedesktop.appearance";
constexpr char kColourScheme[] = "color-scheme";
constexpr char kPreferDark[] = "gtk-application-prefer-dark-theme";

// color-scheme: 0 no preference, 1 prefer dark, 2 prefer light.
constexpr guint32 kPrefersDark = 1;
constexpr guint32 kPrefersLight = 2;

struct Follower {
    gboolean gtksOwn = FALSE;      // GTK's setting before the portal's word, for "no preference"
    GDBusProxy* portal = nullptr;  // kept for the life of the process, for its change signals
};

Follower& TheFollower()
{
    static Follower follower;
    return follower;
}

// The portal wraps a value in one variant, or in two (the older Read method).
void Apply(GVariant* value)
{
    GVariantPtr unwrapped(g_variant_ref(value));
    while (g_variant_is_of_type(unwrapped.get(), G_VARIANT_TYPE_VARIANT))
        unwrapped.reset(g_variant_get_variant(unwrapped.get()));
    if (!g_variant_is_of_type(unwrapped.get(), G_VARIANT_TYPE_UINT32))
        return;
    const guint32 scheme = g_variant_get_uint32(unwrapped.get());
    const gboolean dark = scheme == kPrefersDark ? TRUE : scheme == kPrefersLight ? FALSE : TheFollower().gtksOwn;
    g_object_set(gtk_settings_get_default(), kPreferDark, dark, nullptr);
}

void OnSignal(GDBusProxy*, gchar*, gchar* signal, GVariant* parameters, gpointer)
{
    glib::GuardCallback("the desktop's colour scheme changed", [signal, parameters] {
        if (std::strcmp(signal, "SettingChanged") != 0 || !g_variant_is_of_type(parameters, G_VARIANT_TYPE("(ssv)")))
            return;
        const char* space = nullptr;
        const char* key = nullptr;
        GVariant* raw = nullptr;
        g_variant_get(parameters, "(&s&sv)", &space, &key, &raw);
        const GVariantPtr value(raw);
        if (std::strcmp(space, kAppearance) == 0 && std::strcmp(key, kColourScheme) == 0)
            Apply(value.get());
    });
}

void OnRead(GObject* portal, GAsyncResult* result, gpointer)
{
    glib::GuardCallback("the desktop's colour scheme", [portal, result] {
        const GVariantPtr reply(g_dbus_proxy_call_finish(G_DBUS_PROXY(portal), result, nullptr));
        if (!reply || !g_variant_is_of_type(reply.get(), G_VARIANT_TYPE("(v)")))
            return;  // no portal, or none with this setting: GTK's own setting stays
        const GVariantPtr value(g_variant_get_child_value(reply.get(), 0));
        Apply(value.get());
    });
}

void OnPortal(GObject*, GAsyncResult* result, gpointer)
{
    glib::GuardCallback("the settings portal", [result] {
        GDBusProxy* portal = g_dbus_proxy_new_for_bus_finish(result, nullptr);
        if (!portal)
            return;
        TheFollower().portal = portal;
        g_signal_connect(portal, "g-signal", G_CALLBACK(OnSignal), nullptr);
        // Read, not ReadOne: every version of the portal has it.
        g_dbus_proxy_call(portal, "Read", g_variant_new("(ss)", kAppearance, kColourScheme), G_DBUS_CALL_FLAGS_NONE, -1,
                          nullptr, OnRead, nullptr);
    });
}
}  // namespace

void FollowDesktopDarkPreference()
{
    static bool started = false;
    if (started)
        return;
    started = true;
    g_object_get(gtk_settings_get_default(), kPreferDark, &TheFollower().gtksOwn, nullptr);
    g_dbus_proxy_new_for_bus(G_BUS_TYPE_SESSION, G_DBUS_PROXY_FLAGS_DO_NOT_LOAD_PROPERTIES, nullptr, kPortalBusName,
                             kPortalObjectPath, kSettingsInterface, nullptr, OnPortal, nullptr);
}

}  // namespace answerwindow
