#include "tray/win32/KeyboardHook.h"

#include <string>

#include "tray/HotKeyRecognizer.h"
#include "tray/win32/FailureLog.h"
#include "tray/win32/Resources.h"

namespace tray::win32 {
namespace {
// The system calls the hook for every key of the desktop, and removes a hook that answers late:
// the callback only compares and posts. Everything it touches is set up front, on this thread.
struct HookState {
    HHOOK hook = nullptr;
    HWND window = nullptr;
    UINT message = 0;
    // Never reset, also not when the hook is installed again.
    HotKeyRecognizer recognizer;

    ~HookState()
    {
        if (hook)
            ::UnhookWindowsHookEx(hook);
    }
};

HookState g_hook;

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code >= 0) {
        const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        const bool ctrlDown = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
        if (g_hook.recognizer.OnKeyEvent(static_cast<std::uint32_t>(wParam), event->vkCode, ctrlDown, event->time))
            ::PostMessageW(g_hook.window, g_hook.message, event->vkCode, 0);
    }
    // Never swallows a key.
    return ::CallNextHookEx(g_hook.hook, code, wParam, lParam);
}
}  // namespace

bool InstallKeyboardHook(HWND window, UINT message, HookInstaller install)
{
    if (g_hook.hook)
        return false;
    const HHOOK hook = install(WH_KEYBOARD_LL, &KeyboardHookProc, ModuleInstance(), 0);
    if (!hook) {
        const std::string error = std::to_string(::GetLastError());
        LogFailure("Cannot install the keyboard hook; the hot keys are off. Error ", error.c_str());
        return false;
    }
    g_hook.hook = hook;
    g_hook.window = window;
    g_hook.message = message;
    return true;
}

bool IsKeyboardHookInstalled()
{
    return g_hook.hook != nullptr;
}

bool RemoveKeyboardHook()
{
    if (!g_hook.hook || !::UnhookWindowsHookEx(g_hook.hook))
        return false;
    g_hook.hook = nullptr;
    g_hook.window = nullptr;
    g_hook.message = 0;
    return true;
}

}  // namespace tray::win32
