#pragma once
// Reads the CLIPBOARD's text for a translation. An X11 server hands it to any client. A Wayland
// compositor offers the clipboard only to the client that has the keyboard focus: there, while no
// window of this program has it, the dialog is presented first (with the desktop's activation
// token, when one came with the request), and the text is read once the dialog has the focus, or
// after a short wait (2 s) for a desktop that keeps the focus from it.

#include <gtk/gtk.h>

#include <functional>
#include <memory>
#include <string>

#include "foundation/glib/GLibOwnership.h"

namespace tray::gtk {

class ClipboardReader {
public:
    // `text`: the clipboard's text, or nullptr when it holds none. `shownForIt`: the dialog was
    // hidden and has been presented only to read it.
    using Handler = std::function<void(const char* text, bool shownForIt)>;

    ClipboardReader(GtkWindow* dialog, Handler handler);
    // Nothing is handed over after this, whatever is still pending.
    ~ClipboardReader();
    ClipboardReader(const ClipboardReader&) = delete;
    ClipboardReader& operator=(const ClipboardReader&) = delete;

    // Starts one reading; the handler runs later, from the main loop. A request while one is
    // pending joins it.
    void Read(const std::string& activationToken = {});

private:
    void RequestText();
    void StopWaiting();
    static void OnActiveChanged(GObject*, GParamSpec*, gpointer self);
    static gboolean OnFocusLate(gpointer self);
    static void OnText(GtkClipboard*, const gchar* text, gpointer pending);

    GtkWindow* m_dialog;
    Handler m_handler;
    bool m_busy = false;
    bool m_shownForIt = false;
    gulong m_activeHandler = 0;
    glib::SourceId m_focusTimeout;
    // The pending request's link back to this object, cut when it goes.
    std::shared_ptr<ClipboardReader*> m_self;
};

}  // namespace tray::gtk
