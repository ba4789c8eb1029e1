#include "browserwindow/webkit/AnswerView.h"

#include <algorithm>
#include <vector>

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

// The answer views alive now, oldest first.
std::vector<WebKitWebView*>& LiveViews()
{
    static std::vector<WebKitWebView*> views;
    return views;
}

void ForgetView(GtkWidget* view, gpointer)
{
    std::vector<WebKitWebView*>& views = LiveViews();
    views.erase(std::remove(views.begin(), views.end(), WEBKIT_WEB_VIEW(view)), views.end());
}

// All answer windows share one web process, as the Windows program's answers all live in its
// own process: each further process cost another 40 MB (measured, PSS) for a small page.
GtkWidget* NewView()
{
    std::vector<WebKitWebView*>& views = LiveViews();
    GtkWidget* view = views.empty() ? webkit_web_view_new_with_context(SharedWebContext())
                                    : webkit_web_view_new_with_related_view(views.front());
    views.push_back(WEBKIT_WEB_VIEW(view));
    g_signal_connect(view, "destroy", G_CALLBACK(ForgetView), nullptr);
    return view;
}

void ShowTitleAsCaption(WebKitWebView* view, GParamSpec*, gpointer window)
{
    const char* title = webkit_web_view_get_title(view);
    gtk_window_set_title(GTK_WINDOW(window), title && *title ? title : kUntitledCaption);
}

// A second window would belong to nobody. A link the user opens into a new window loads here
// instead; windows that a page opens by itself are not opened at all.
GtkWidget* LoadNewWindowHere(WebKitWebView* view, WebKitNavigationAction* action, gpointer)
{
    if (webkit_navigation_action_is_user_gesture(action))
        webkit_web_view_load_request(view, webkit_navigation_action_get_request(action));
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
