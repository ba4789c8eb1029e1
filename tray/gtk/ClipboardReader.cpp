#include "tray/gtk/ClipboardReader.h"

#include <gdk/gdkwayland.h>

#include <utility>

#include "foundation/glib/CallbackGuard.h"

namespace tray::gtk {
namespace {
// Long enough for a compositor to map and focus the dialog on a busy machine; a desktop that
// refuses the focus costs the user no more than this.
constexpr guint kFocusWaitMilliseconds = 2000;

// Whether one of this program's windows (the dialog, an answer window) has the keyboard focus:
// then the compositor has offered it the current clipboard.
bool OwnWindowFocused()
{
    GList* windows = gtk_window_list_toplevels();
    bool focused = false;
    for (GList* item = windows; item != nullptr && !focused; item = item->next)
        focused = gtk_window_is_active(GTK_WINDOW(item->data));
    g_list_free(windows);
    return focused;
}

using Link = std::shared_ptr<ClipboardReader*>;
}  // namespace

ClipboardReader::ClipboardReader(GtkWindow* dialog, Handler handler)
    : m_dialog(dialog), m_handler(std::move(handler)), m_self(std::make_shared<ClipboardReader*>(this))
{
}

ClipboardReader::~ClipboardReader()
{
    *m_self = nullptr;
    StopWaiting();
}

void ClipboardReader::Read(const std::string& activationToken)
{
    if (m_busy)
        return;
    m_busy = true;
    m_shownForIt = false;
    GdkDisplay* display = gtk_widget_get_display(GTK_WIDGET(m_dialog));
    if (!GDK_IS_WAYLAND_DISPLAY(display) || OwnWindowFocused()) {
        RequestText();
        return;
    }
    m_shownForIt = !gtk_widget_get_visible(GTK_WIDGET(m_dialog));
    // GDK hands the token to the compositor with the next focus request: the desktop's proof
    // that the user asked for this window now.
    if (!activationToken.empty())
        gdk_wayland_display_set_startup_notification_id(display, activationToken.c_str());
    m_activeHandler =
        g_signal_connect(m_dialog, "notify::is-active", G_CALLBACK(&ClipboardReader::OnActiveChanged), this);
    m_focusTimeout = glib::SourceId(g_timeout_add(kFocusWaitMilliseconds, &ClipboardReader::OnFocusLate, this));
    gtk_widget_show(GTK_WIDGET(m_dialog));
    gtk_window_present(m_dialog);
}

void ClipboardReader::StopWaiting()
{
    if (m_activeHandler != 0)
        g_signal_handler_disconnect(m_dialog, m_activeHandler);
    m_activeHandler = 0;
    m_focusTimeout.Reset();
}

void ClipboardReader::RequestText()
{
    // The answer comes back through the main loop: the owner of the text is another program. The
    // link lets it find this object, or find that it has gone.
    auto link = std::make_unique<Link>(m_self);
    GtkClipboard* clipboard =
        gtk_clipboard_get_for_display(gtk_widget_get_display(GTK_WIDGET(m_dialog)), GDK_SELECTION_CLIPBOARD);
    gtk_clipboard_request_text(clipboard, &ClipboardReader::OnText, link.release());
}

void ClipboardReader::OnActiveChanged(GObject*, GParamSpec*, gpointer self)
{
    glib::GuardCallback("the dialog's focus, for the clipboard", [self] {
        auto* reader = static_cast<ClipboardReader*>(self);
        if (!gtk_window_is_active(reader->m_dialog))
            return;
        // The compositor sends the clipboard's offer with the focus, before GTK reports it.
        reader->StopWaiting();
        reader->RequestText();
    });
}

gboolean ClipboardReader::OnFocusLate(gpointer self)
{
    glib::GuardCallback("waiting for the focus, for the clipboard", [self] {
        auto* reader = static_cast<ClipboardReader*>(self);
        reader->m_focusTimeout.Forget();  // this source ends now
        reader->StopWaiting();
        // The offer this program saw last may still be the clipboard's; if not, it reads as none.
        reader->RequestText();
    });
    return G_SOURCE_REMOVE;
}

void ClipboardReader::OnText(GtkClipboard*, const gchar* text, gpointer data)
{
    const std::unique_ptr<Link> link(static_cast<Link*>(data));
    glib::GuardCallback("the clipboard's text", [&link, text] {
        ClipboardReader* reader = **link;
        if (reader == nullptr)
            return;
        reader->m_busy = false;
        // A copy: the handler may destroy this object and with it m_handler.
        const Handler handler = reader->m_handler;
        handler(text, reader->m_shownForIt);
    });
}

}  // namespace tray::gtk
