#include "tray/gtk/AboutBox.h"

#include <string>

#include "foundation/config/Environment.h"
#include "foundation/glib/CallbackGuard.h"
#include "foundation/text/Utf.h"
#include "tray/gtk/DesktopStrings.h"
#include "update/UpdateCheck.h"

namespace tray::gtk {
namespace {
GtkWidget* Label(const std::string& text, bool wrap)
{
    GtkWidget* label = gtk_label_new(text.c_str());
    gtk_label_set_xalign(GTK_LABEL(label), 0);
    gtk_label_set_line_wrap(GTK_LABEL(label), wrap);
    gtk_label_set_max_width_chars(GTK_LABEL(label), 48);
    return label;
}
}  // namespace

AboutBox::~AboutBox()
{
    if (m_dialog)
        gtk_widget_destroy(m_dialog);
}

void AboutBox::Show()
{
    if (m_dialog) {
        gtk_window_present(GTK_WINDOW(m_dialog));
        return;
    }
    m_dialog = gtk_dialog_new_with_buttons(DesktopText("IDD_ABOUTBOX.CAPTION"), nullptr, GTK_DIALOG_MODAL,
                                           DesktopText("IDD_ABOUTBOX.IDOK"), GTK_RESPONSE_OK, nullptr);
    gtk_window_set_role(GTK_WINDOW(m_dialog), "about");
    gtk_window_set_position(GTK_WINDOW(m_dialog), GTK_WIN_POS_CENTER);
    gtk_window_set_resizable(GTK_WINDOW(m_dialog), FALSE);

    GtkWidget* content = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 12);
    gtk_container_set_border_width(GTK_CONTAINER(content), 12);
    const std::string picture = text::Utf16ToUtf8(GetModuleDirectory()) + "about.bmp";
    gtk_box_pack_start(GTK_BOX(content), gtk_image_new_from_file(picture.c_str()), FALSE, FALSE, 0);

    GtkWidget* texts = gtk_box_new(GTK_ORIENTATION_VERTICAL, 6);
    gtk_box_pack_start(GTK_BOX(texts), Label(DesktopText("IDD_ABOUTBOX.STATIC1"), false), FALSE, FALSE, 0);
    const std::string version =
        std::string(DesktopText("IDD_ABOUTBOX.STATIC2")) + " " + text::Utf16ToUtf8(update::GetVersionText());
    gtk_box_pack_start(GTK_BOX(texts), Label(version, false), FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(texts), Label(DesktopText("IDD_ABOUTBOX.STATIC3"), true), FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(texts), Label(DesktopText("IDD_ABOUTBOX.STATIC4"), true), FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(content), texts, TRUE, TRUE, 0);

    gtk_box_pack_start(GTK_BOX(gtk_dialog_get_content_area(GTK_DIALOG(m_dialog))), content, TRUE, TRUE, 0);
    g_signal_connect(m_dialog, "response", G_CALLBACK(&AboutBox::OnResponse), this);
    gtk_widget_show_all(m_dialog);
    gtk_window_present(GTK_WINDOW(m_dialog));
}

void AboutBox::OnResponse(GtkDialog* dialog, gint, gpointer self)
{
    // OK, Esc and the close box all end it.
    glib::GuardCallback("the About box's answer", [dialog, self] {
        gtk_widget_destroy(GTK_WIDGET(dialog));
        static_cast<AboutBox*>(self)->m_dialog = nullptr;
    });
}

}  // namespace tray::gtk
