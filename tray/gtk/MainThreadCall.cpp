#include "tray/gtk/MainThreadCall.h"

#include <glib.h>

#include <memory>

#include "foundation/glib/CallbackGuard.h"

namespace tray::gtk {
namespace {
using Call = std::function<void()>;

gboolean RunCall(gpointer call)
{
    glib::GuardCallback("a call handed to the main thread", [call] { (*static_cast<Call*>(call))(); });
    return G_SOURCE_REMOVE;
}

void FreeCall(gpointer call)
{
    std::unique_ptr<Call>(static_cast<Call*>(call));
}
}  // namespace

void CallOnMainThread(std::function<void()> function)
{
    // GLib owns the call from here on and frees it through FreeCall, whether it ran or not.
    auto call = std::make_unique<Call>(std::move(function));
    g_main_context_invoke_full(nullptr, G_PRIORITY_DEFAULT, &RunCall, call.release(), &FreeCall);
}

}  // namespace tray::gtk
