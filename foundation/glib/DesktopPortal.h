#pragma once
// Where the desktop's portal answers on the session bus: the global shortcut and the settings
// it offers are interfaces of one object there.

namespace glib {

inline constexpr char kPortalBusName[] = "org.freedesktop.portal.Desktop";
inline constexpr char kPortalObjectPath[] = "/org/freedesktop/portal/desktop";

}  // namespace glib
