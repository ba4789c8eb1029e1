#include "answerwindow/AnswerWindow.h"

#include <memory>

#include "answerwindow/AnswerKeys.h"
#include "answerwindow/AnswerView.h"
#include "answerwindow/WindowIcon.h"
#include "answerwindow/WindowPlacement.h"
#include "foundation/glib/CallbackGuard.h"
#include "foundation/text/Utf.h"

namespace answerwindow {

using translate::target::AnswerWindowMemory;
using translate::target::DisplaySettings;

AnswerWindow::AnswerWindow(const char* iconPath,
                           const AnswerWindowMemory* remembered,
                           translate::target::AnswerWindowClosed closed,
                           translate::target::AnswerWindowChanged changed,
                           void* context)
    : m_iconPath(iconPath ? iconPath : ""), m_closed(closed), m_changed(changed), m_context(context)
{
    if (remembered)
        m_remembered = *remembered;
}

AnswerWindow::~AnswerWindow()
{
    // The owner ending the window is no closing by the user: it is not called back, but it still
    // learns the size the user gave the window.
    if (m_window) {
        g_signal_handlers_disconnect_by_data(m_window.get(), this);
        ReportUsersSize();
    }
}

void AnswerWindow::ShowUrl(const std::u16string& url, const translate::Direction&, const DisplaySettings& display)
{
    // Its owner has been told that the user closed it, and will dispose of it.
    if (m_closedByUser)
        return;
    GtkWindow* window = GTK_WINDOW(m_window.get());
    if (!window) {
        Open();
        window = GTK_WINDOW(m_window.get());
        // A new window: the size the user gave this service's windows before, else the service's.
        if (m_remembered.width > 0 && m_remembered.height > 0)
            Place(m_remembered.width, m_remembered.height);
        else if (display.width > 0 && display.height > 0)
            Place(display.width, display.height);
        else
            Place(translate::target::kDefaultAnswerWidth, translate::target::kDefaultAnswerHeight);
    } else if (display.width > 0 && display.height > 0) {
        Place(display.width, display.height);
    }
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
    m_window = glib::OwnWidget(gtk_window_new(GTK_WINDOW_TOPLEVEL));
    GtkWindow* const window = GTK_WINDOW(m_window.get());
    // Tells answer windows from the program's other windows, for window managers and tests.
    gtk_window_set_role(window, "answer");
    gtk_window_set_default_size(window, translate::target::kDefaultAnswerWidth,
                                translate::target::kDefaultAnswerHeight);
    SetIconFromFile(window, m_iconPath.c_str());
    m_view = AddAnswerView(window);
    if (m_remembered.zoomPercent > 0)
        SetZoomPercent(m_view, m_remembered.zoomPercent);
    HandleAnswerKeys(window, m_view, [this](unsigned percent) { Report({sizeof(AnswerWindowMemory), percent, 0, 0}); });
    g_signal_connect(window, "delete-event", G_CALLBACK(OnCloseRequested), this);
    g_signal_connect(window, "destroy", G_CALLBACK(OnDestroyed), this);
}

void AnswerWindow::Place(std::int32_t width, std::int32_t height)
{
    const GdkRectangle placed = PlaceOnFocusedMonitor(GTK_WINDOW(m_window.get()), width, height);
    m_placedWidth = placed.width;
    m_placedHeight = placed.height;
}

void AnswerWindow::Report(AnswerWindowMemory changed)
{
    if (m_changed)
        m_changed(this, m_context, &changed);
}

void AnswerWindow::ReportUsersSize()
{
    GtkWindow* const window = GTK_WINDOW(m_window.get());
    // A maximised window's size is the screen's, not one the user chose for the service.
    GdkWindow* const shown = gtk_widget_get_window(GTK_WIDGET(window));
    if (!shown || (gdk_window_get_state(shown) & (GDK_WINDOW_STATE_MAXIMIZED | GDK_WINDOW_STATE_FULLSCREEN)))
        return;
    int width = 0;
    int height = 0;
    gtk_window_get_size(window, &width, &height);
    if (width != m_placedWidth || height != m_placedHeight)
        Report({sizeof(AnswerWindowMemory), 0, width, height});
}

// The user closes the window (the window manager's close, or Esc): its size is still there to read,
// while at "destroy" GTK has taken the window off the screen already.
gboolean AnswerWindow::OnCloseRequested(GtkWidget*, GdkEvent*, gpointer self)
{
    glib::GuardCallback("an answer window's closing", [self] { static_cast<AnswerWindow*>(self)->ReportUsersSize(); });
    return FALSE;  // GTK goes on to destroy it
}

// Only the user's closing gets here (Dispose disconnects first): GTK answers the window manager's
// close request by destroying the window.
void AnswerWindow::OnDestroyed(GtkWidget* window, gpointer data)
{
    glib::GuardCallback("an answer window closed by the user", [window, data] {
        auto* const self = static_cast<AnswerWindow*>(data);
        g_signal_handlers_disconnect_by_data(window, self);
        self->m_window.reset();  // GTK is destroying it already; our reference goes
        self->m_view = nullptr;
        self->m_closedByUser = true;
        // Last: the owner may dispose of this object in the call.
        if (self->m_closed)
            self->m_closed(self, self->m_context);
    });
}

}  // namespace answerwindow
