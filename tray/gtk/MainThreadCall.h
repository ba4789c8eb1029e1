#pragma once
// Hands a function to the GTK main thread from any thread; it runs once there, on the next turn
// of the main loop.

#include <functional>

namespace tray::gtk {

void CallOnMainThread(std::function<void()> function);

}  // namespace tray::gtk
