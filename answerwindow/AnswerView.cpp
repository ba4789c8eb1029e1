#include "answerwindow/AnswerView.h"

#include "foundation/glib/CallbackGuard.h"

namespace answerwindow {
namespace {
// WebKit's default context lives as long as the process. All answer windows share it, and with
// it the cache and the cookies (a dictionary's consent, say).
WebKitWebContext* SharedWebContext()
{
    static WebKitWebContext* const context = [] {
        WebKitWebContext* shared = webkit_web_context_get_default();
        // Answers are small pages: a full browser's memory cache would only make the tray program grow.
        webkit_web_context_set_cache_model(shared, WEBKIT_CACHE_MODEL_DOCUMENT_BROWSER);
        return shared;
    }();
    return context;
}

// How long the web process outlives the last answer window: a word looked up again soon after
// does not wait for a new process (about 100 ms, measured), and a tray left alone gives the
// process's memory back.
constexpr guint kStandbySeconds = 300;

// A web view of no window that all answer views are related to: they share its web process, as
// the Windows program's answers all live in its own process (each further process cost another
// 40 MB, measured, PSS). It lives while answers are open and for a while after the last one.
struct Standby {
    // Held by hand, not by an owner object: at the program's exit the web process ends with the
    // connection, and a view released by a static destructor would run WebKit's teardown after
    // GTK's.
    WebKitWebView* view = nullptr;
    guint expiry = 0;  // the timer that ends it, while no answer is open
    int answers = 0;   // answer views alive now
};

Standby& TheStandby()
{
    static Standby standby;
    return standby;
}

gboolean EndStandby(gpointer)
{
    Standby& standby = TheStandby();
    standby.expiry = 0;
    glib::GuardCallback("the standby view's end", [&standby] {
        if (standby.view) {
            gtk_widget_destroy(GTK_WIDGET(standby.view));
            g_object_unref(standby.view);
            standby.view = nullptr;
        }
    });
    return G_SOURCE_REMOVE;
}

void ForgetView(GtkWidget*, gpointer)
{
    glib::GuardCallback("an answer view's end", [] {
        Standby& standby = TheStandby();
        if (--standby.answers == 0 && standby.view && !standby.expiry)
            standby.expiry = g_timeout_add_seconds(kStandbySeconds, EndStandby, nullptr);
    });
}

WebKitWebView* StandbyView()
{
    Standby& standby = TheStandby();
    if (standby.expiry) {
        g_source_remove(standby.expiry);
        standby.expiry = 0;
    }
    if (!standby.view) {
        standby.view = WEBKIT_WEB_VIEW(g_object_ref_sink(webkit_web_view_new_with_context(SharedWebContext())));
        // The process starts with the first load; the answer's own load follows at once.
        webkit_web_view_load_uri(standby.view, "about:blank");
    }
    return standby.view;
}

GtkWidget* NewView()
{
    GtkWidget* view = webkit_web_view_new_with_related_view(StandbyView());
    ++TheStandby().answers;
    g_signal_connect(view, "destroy", G_CALLBACK(ForgetView), nullptr);
    return view;
}

void ShowTitleAsCaption(WebKitWebView* view, GParamSpec*, gpointer window)
{
    glib::GuardCallback("the page's title", [view, window] {
        const char* title = webkit_web_view_get_title(view);
        gtk_window_set_title(GTK_WINDOW(window), title && *title ? title : kUntitledCaption);
    });
}

// A second window would belong to nobody. A link the user opens into a new window loads here
// instead; windows that a page opens by itself are not opened at all.
GtkWidget* LoadNewWindowHere(WebKitWebView* view, WebKitNavigationAction* action, gpointer)
{
    glib::GuardCallback("a page's new window", [view, action] {
        if (webkit_navigation_action_is_user_gesture(action))
            webkit_web_view_load_request(view, webkit_navigation_action_get_request(action));
    });
    return nullptr;
}
}  // namespace

WebKitWebView* AddAnswerView(GtkWindow* window)
{
    GtkWidget* view = NewView();
    gtk_container_add(GTK_CONTAINER(window), view);
    // Tied to the window's life: a title that arrives while the window goes touches nothing freed.
    g_signal_connect_object(view, "notify::title", G_CALLBACK(ShowTitleAsCaption), window, G_CONNECT_DEFAULT);
    g_signal_connect(view, "create", G_CALLBACK(LoadNewWindowHere), nullptr);
    ShowTitleAsCaption(WEBKIT_WEB_VIEW(view), nullptr, window);
    return WEBKIT_WEB_VIEW(view);
}

}  // namespace answerwindow
