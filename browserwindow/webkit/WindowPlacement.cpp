#include "browserwindow/webkit/WindowPlacement.h"

#include <gdk/gdkx.h>

#include "translate/target/DisplaySettings.h"

namespace answerwindow {
namespace {
// X11 may name no primary monitor; the first one is then the best guess.
GdkMonitor* PrimaryMonitor(GdkDisplay* display)
{
    GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
    return monitor ? monitor : gdk_display_get_monitor(display, 0);
}
}  // namespace

void PlaceCentred(GtkWindow* window, int width, int height)
{
    using translate::target::CentredStart;

    gtk_window_resize(window, width, height);
    GdkMonitor* monitor = PrimaryMonitor(gtk_widget_get_display(GTK_WIDGET(window)));
    if (!monitor)
        return;
    GdkRectangle area;
    gdk_monitor_get_workarea(monitor, &area);
    gtk_window_move(window, area.x + CentredStart(area.width, width), area.y + CentredStart(area.height, height));
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
