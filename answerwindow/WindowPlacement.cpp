#include "answerwindow/WindowPlacement.h"

#include <gdk/gdkx.h>

#include <optional>

#include "foundation/glib/PrimaryMonitor.h"
#include "translate/target/AnswerPlacement.h"

namespace answerwindow {
namespace {
using translate::target::ScreenRect;

constexpr std::uint32_t kUnscaledDpi = 96;

// The centre of the X window that has the keyboard focus, in GTK's units: the window the user's
// word came from, since the answer is placed before it takes the focus itself.
std::optional<GdkPoint> FocusedWindowCentre(GdkDisplay* display, int scale)
{
    if (!GDK_IS_X11_DISPLAY(display))
        return std::nullopt;
    Display* const x = GDK_DISPLAY_XDISPLAY(display);
    // The focused window may belong to another program and go away at any moment.
    gdk_x11_display_error_trap_push(display);
    Window focus = None;
    int revert = 0;
    XGetInputFocus(x, &focus, &revert);
    std::optional<GdkPoint> centre;
    XWindowAttributes attributes;
    if (focus != None && focus != PointerRoot && XGetWindowAttributes(x, focus, &attributes) &&
        focus != attributes.root) {
        int left = 0;
        int top = 0;
        Window child = None;
        if (XTranslateCoordinates(x, focus, attributes.root, 0, 0, &left, &top, &child))
            centre = GdkPoint{(left + attributes.width / 2) / scale, (top + attributes.height / 2) / scale};
    }
    gdk_x11_display_error_trap_pop_ignored(display);
    return centre;
}

GdkMonitor* FocusedMonitor(GdkDisplay* display, int scale)
{
    if (const std::optional<GdkPoint> centre = FocusedWindowCentre(display, scale))
        return gdk_display_get_monitor_at_point(display, centre->x, centre->y);
    GdkDevice* const pointer = gdk_seat_get_pointer(gdk_display_get_default_seat(display));
    if (!pointer)
        return glib::PrimaryMonitor(display);
    int x = 0;
    int y = 0;
    gdk_device_get_position(pointer, nullptr, &x, &y);
    return gdk_display_get_monitor_at_point(display, x, y);
}
}  // namespace

GdkRectangle PlaceOnFocusedMonitor(GtkWindow* window, std::int32_t width, std::int32_t height)
{
    const int scale = gtk_widget_get_scale_factor(GTK_WIDGET(window));
    GdkMonitor* const monitor = FocusedMonitor(gtk_widget_get_display(GTK_WIDGET(window)), scale);
    GdkRectangle area{0, 0, width, height};
    if (monitor)
        gdk_monitor_get_workarea(monitor, &area);
    // The rules work in the monitor's pixels; GTK takes its own units, pixels divided by the scale.
    const ScreenRect placed =
        translate::target::PlaceAnswerWindow({width, height}, kUnscaledDpi * static_cast<std::uint32_t>(scale),
                                             {area.x * scale, area.y * scale, area.width * scale, area.height * scale});
    const GdkRectangle given{placed.left / scale, placed.top / scale, placed.width / scale, placed.height / scale};
    gtk_window_resize(window, given.width, given.height);
    gtk_window_move(window, given.x, given.y);
    return given;
}

void BringToFront(GtkWindow* window)
{
    gtk_widget_show_all(GTK_WIDGET(window));
    // The answer follows a hot key that the program saw without a GTK event, so there is no user
    // time to give. Without one, a window manager that prevents focus stealing leaves the answer
    // behind the window the word came from; the X server's present time says "just now".
    GdkWindow* shown = gtk_widget_get_window(GTK_WIDGET(window));
    if (shown && GDK_IS_X11_WINDOW(shown))
        gtk_window_present_with_time(window, gdk_x11_get_server_time(shown));
    else
        gtk_window_present(window);
}

}  // namespace answerwindow
