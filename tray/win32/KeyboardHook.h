#pragma once
// The desktop-wide low-level keyboard hook that recognises Ctrl+C+C and Ctrl+Ins+Ins and posts
// the window's message with the second key's code. One hook per process, on the main thread.

#include <windows.h>

namespace tray::win32 {

// The main dialog's message for a recognised hot key: wParam = virtual-key code, lParam = 0.
constexpr UINT WM_TRANSLATE_HOTKEY = 1468;

// SetWindowsHookExW, or a stand-in that tests give.
using HookInstaller = HHOOK(WINAPI*)(int kind, HOOKPROC procedure, HINSTANCE module, DWORD thread);

// False when a hook is already installed (nothing changes) or the system refused it; a refusal
// is logged, since without the hook the hot keys silently do nothing.
bool InstallKeyboardHook(HWND window, UINT message, HookInstaller install = &::SetWindowsHookExW);
// False when none is installed or the system refused to remove it (the state then stays).
bool RemoveKeyboardHook();
bool IsKeyboardHookInstalled();

}  // namespace tray::win32
