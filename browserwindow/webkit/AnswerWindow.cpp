#include "browserwindow/webkit/AnswerWindow.h"

#include <memory>

#include "browserwindow/webkit/AnswerView.h"
#include "browserwindow/webkit/WindowIcon.h"
#include "browserwindow/webkit/WindowPlacement.h"
#include "foundation/glib/CallbackGuard.h"
#include "foundation/text/Utf.h"

namespace answerwindow {

using translate::target::DisplaySettings;

AnswerWindow::AnswerWindow(const char* iconPath, translate::target::AnswerWindowClosed closed, void* context)
    : m_iconPath(iconPath ? iconPath : ""), m_closed(closed), m_closedContext(context)
{
}

AnswerWindow::~AnswerWindow()
{
    // The owner ending the window is no closing by the user: it is not called back.
    if (m_window)
        g_signal_handlers_disconnect_by_data(m_window.get(), this);
}

void AnswerWindow::ShowUrl(const std::u16string& url, const translate::Direction&, const DisplaySettings& display)
{
    // Its owner has been told that the user closed it, and will dispose of it.
    if (m_closedByUser)
        return;
    if (!m_window)
        Open();
    GtkWindow* const window = GTK_WINDOW(m_window.get());
    if (display.width > 0 && display.height > 0)
        PlaceCentred(window, display.width, display.height);
    webkit_web_view_load_uri(m_view, text::Utf16ToUtf8(url).c_str());
    // The user looked a word up just now: the answer comes to the front, keys go to the page.
    BringToFront(window);
    gtk_widget_grab_focus(GTK_WIDGET(m_view));
}

void AnswerWindow::Dispose()
{
    // The object was handed out by the export; its destructor ends the window.
    const std::unique_ptr<AnswerWindow> self(this);
}

void AnswerWindow::Open()
{
    m_window.reset(gtk_window_new(GTK_WINDOW_TOPLEVEL));
    GtkWindow* const window = GTK_WINDOW(m_window.get());
    // Tells answer windows from the program's other windows, for window managers and tests.
    gtk_window_set_role(window, "answer");
    gtk_window_set_default_size(window, translate::target::kDefaultAnswerWidth,
                                translate::target::kDefaultAnswerHeight);
    SetIconFromFile(window, m_iconPath.c_str());
    m_view = AddAnswerView(window);
    g_signal_connect(window, "destroy", G_CALLBACK(OnDestroyed), this);
}

// Only the user's closing gets here (Dispose disconnects first): GTK answers the window manager's
// close request by destroying the window.
void AnswerWindow::OnDestroyed(GtkWidget* window, gpointer data)
{
    glib::GuardCallback("an answer window closed by the user", [window, data] {
        auto* const self = static_cast<AnswerWindow*>(data);
        g_signal_handlers_disconnect_by_data(window, self);
        (void)self->m_window.release();  // GTK is destroying it already
        self->m_view = nullptr;
        self->m_closedByUser = true;
        // Last: the owner may dispose of this object in the call.
        if (self->m_closed)
            self->m_closed(self, self->m_closedContext);
    });
}

}  // namespace answerwindow
