#include "browserwindow/AnswerKeys.h"

#include <windows.h>

#include "browserwindow/TargetWindow.h"

namespace browserwindow {
namespace {
// The hook of a thread with watched windows, and how many there are. Plain values: nothing of
// this library may be left for the thread's end, which may come after the library has gone.
thread_local HHOOK t_hook = nullptr;
thread_local unsigned t_watched = 0;

bool IsKey(const MSG& message)
{
    return message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST && message.hwnd;
}

// Called for every message a loop of this thread takes; a key consumed here becomes WM_NULL,
// which every loop dispatches to nothing.
LRESULT CALLBACK OnMessageTaken(int code, WPARAM removal, LPARAM lParam)
{
    // A message only looked at (PM_NOREMOVE) is offered when it is taken.
    if (code == HC_ACTION && removal == PM_REMOVE) {
        MSG& message = *reinterpret_cast<MSG*>(lParam);
        const HWND root = IsKey(message) ? ::GetAncestor(message.hwnd, GA_ROOT) : nullptr;
        TargetWindow* const window = root ? TargetWindow::FromHandle(root) : nullptr;
        if (window && window->OfferKeyToPage(message)) {
            message.message = WM_NULL;
        } else if (window && message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
            // Posted, not sent: the page's key may have ended the window, and the owner may
            // dispose of it when it hears of the closing, which is no work for a hook.
            ::PostMessageW(root, WM_CLOSE, 0, 0);
            message.message = WM_NULL;
        }
    }
    return ::CallNextHookEx(t_hook, code, removal, lParam);
}
}  // namespace

void WatchKeys()
{
    ++t_watched;
    // Without the hook the windows still work; only their pages miss the keys.
    if (!t_hook)
        t_hook = ::SetWindowsHookExW(WH_GETMESSAGE, &OnMessageTaken, nullptr, ::GetCurrentThreadId());
}

void StopWatchingKeys()
{
    if (t_watched > 0 && --t_watched == 0 && t_hook) {
        ::UnhookWindowsHookEx(t_hook);
        t_hook = nullptr;
    }
}

}  // namespace browserwindow
