#pragma once
// The About box: the program's name, picture, version and notices. One at a time; it does not
// block the tray, the hot keys or the main dialog.

#include <gtk/gtk.h>

namespace tray::gtk {

class AboutBox {
public:
    AboutBox() = default;
    ~AboutBox();
    AboutBox(const AboutBox&) = delete;
    AboutBox& operator=(const AboutBox&) = delete;

    // Shows the box, or raises the one already shown.
    void Show();

private:
    static void OnResponse(GtkDialog* dialog, gint response, gpointer self);

    GtkWidget* m_dialog = nullptr;
};

}  // namespace tray::gtk
