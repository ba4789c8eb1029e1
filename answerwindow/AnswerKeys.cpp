#include "answerwindow/AnswerKeys.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <memory>

#include "foundation/glib/CallbackGuard.h"

namespace answerwindow {
namespace {
// The zoom steps of the common browsers, in percent.
constexpr unsigned kZoomSteps[] = {30, 50, 67, 80, 90, 100, 110, 125, 150, 175, 200, 250, 300};
constexpr unsigned kNoZoom = 100;

unsigned ZoomPercent(WebKitWebView* view)
{
    return static_cast<unsigned>(std::lround(webkit_web_view_get_zoom_level(view) * 100));
}

// The next step up or down from a zoom that may lie between steps (a value kept from elsewhere).
unsigned NextZoom(unsigned percent, bool larger)
{
    if (larger) {
        const auto* step = std::upper_bound(std::begin(kZoomSteps), std::end(kZoomSteps), percent);
        return step == std::end(kZoomSteps) ? percent : *step;
    }
    const auto* step = std::lower_bound(std::begin(kZoomSteps), std::end(kZoomSteps), percent);
    return step == std::begin(kZoomSteps) ? percent : *std::prev(step);
}

enum class KeyAction { None, Close, ZoomIn, ZoomOut, ZoomReset };

KeyAction ActionOf(const GdkEventKey& key)
{
    const guint modifiers = key.state & gtk_accelerator_get_default_mod_mask();
    // Shift is allowed with Ctrl: plus is Shift+equals on many keyboards.
    const bool control = (modifiers & ~GDK_SHIFT_MASK) == GDK_CONTROL_MASK;
    switch (key.keyval) {
        case GDK_KEY_Escape:
            return modifiers == 0 ? KeyAction::Close : KeyAction::None;
        case GDK_KEY_plus:
        case GDK_KEY_equal:
        case GDK_KEY_KP_Add:
            return control ? KeyAction::ZoomIn : KeyAction::None;
        case GDK_KEY_minus:
        case GDK_KEY_KP_Subtract:
            return control ? KeyAction::ZoomOut : KeyAction::None;
        case GDK_KEY_0:
        case GDK_KEY_KP_0:
        case GDK_KEY_KP_Insert:
            return control ? KeyAction::ZoomReset : KeyAction::None;
        default:
            return KeyAction::None;
    }
}

struct KeyHandler {
    WebKitWebView* view;
    std::function<void(unsigned)> zoomed;
};

void FreeKeyHandler(gpointer handler, GClosure*)
{
    // Adopts what HandleAnswerKeys released to the signal.
    glib::GuardCallback("an answer window's keys",
                        [handler] { const std::unique_ptr<KeyHandler> ended(static_cast<KeyHandler*>(handler)); });
}

gboolean OnKeyPress(GtkWidget* window, GdkEventKey* key, gpointer data)
{
    return glib::GuardCallback(
        "an answer window's key",
        [window, key, data]() -> gboolean {
            const KeyHandler& handler = *static_cast<KeyHandler*>(data);
            const unsigned before = ZoomPercent(handler.view);
            unsigned after = before;
            switch (ActionOf(*key)) {
                case KeyAction::None:
                    return FALSE;
                case KeyAction::Close:
                    // As the window manager's close button: the owner hears of it.
                    gtk_window_close(GTK_WINDOW(window));
                    return TRUE;
                case KeyAction::ZoomIn:
                    after = NextZoom(before, true);
                    break;
                case KeyAction::ZoomOut:
                    after = NextZoom(before, false);
                    break;
                case KeyAction::ZoomReset:
                    after = kNoZoom;
                    break;
            }
            if (after != before) {
                SetZoomPercent(handler.view, after);
                handler.zoomed(after);
            }
            return TRUE;
        },
        FALSE);
}
}  // namespace

void SetZoomPercent(WebKitWebView* view, unsigned percent)
{
    const unsigned zoom = std::clamp(percent, std::begin(kZoomSteps)[0], std::end(kZoomSteps)[-1]);
    webkit_web_view_set_zoom_level(view, zoom / 100.0);
}

void HandleAnswerKeys(GtkWindow* window, WebKitWebView* view, std::function<void(unsigned percent)> zoomed)
{
    // Connected to the window, before its default handler hands the key to the page.
    auto handler = std::make_unique<KeyHandler>(KeyHandler{view, std::move(zoomed)});
    g_signal_connect_data(window, "key-press-event", G_CALLBACK(OnKeyPress), handler.release(), FreeKeyHandler,
                          G_CONNECT_DEFAULT);
}

}  // namespace answerwindow
