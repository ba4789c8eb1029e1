// The least a tray program can be, measured beside Vocabra.exe: the same start-up (COM, the
// common controls, a named event, a hidden top-level window, a tray icon) and the same way out (a
// right click on the icon, Exit from a popup menu). How long Wine takes to end it is what Vocabra
// may take at most, give or take a little. "/visible" shows the window at start.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

namespace {

const UINT WM_TRAY_ICON = WM_APP + 1;
const UINT ID_EXIT = 1;
const UINT ICON_ID = 1;

NOTIFYICONDATAW g_icon{};

void ShowMenu(HWND window)
{
    const HMENU menu = ::CreatePopupMenu();
    if (!menu)
        return;
    ::AppendMenuW(menu, MF_STRING, ID_EXIT, L"Exit");
    POINT cursor{};
    ::GetCursorPos(&cursor);
    // Without the foreground the menu would not close when the user clicks elsewhere.
    ::SetForegroundWindow(window);
    ::TrackPopupMenu(menu, 0, cursor.x, cursor.y, 0, window, nullptr);
    // The task switch TrackPopupMenu needs after it; without it the menu, shown again, would close at once.
    ::PostMessageW(window, WM_NULL, 0, 0);
    ::DestroyMenu(menu);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
        case WM_TRAY_ICON:
            if (wParam == ICON_ID && lParam == WM_RBUTTONUP)
                ShowMenu(window);
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == ID_EXIT) {
                ::Shell_NotifyIconW(NIM_DELETE, &g_icon);
                ::DestroyWindow(window);
                ::PostQuitMessage(0);
            }
            return 0;
        default:
            return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

bool AskedToBeVisible()
{
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!arguments)
        return false;
    bool visible = false;
    for (int i = 1; i < count; ++i)
        visible = visible || ::lstrcmpiW(arguments[i], L"/visible") == 0;
    ::LocalFree(arguments);
    return visible;
}

int Run(HINSTANCE instance, bool visible)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"VocabraMinimalTray";
    if (!::RegisterClassW(&windowClass))
        return 1;
    const HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, L"Minimal tray", WS_OVERLAPPEDWINDOW,
                                          CW_USEDEFAULT, CW_USEDEFAULT, 300, 200, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;

    g_icon.cbSize = sizeof g_icon;
    g_icon.hWnd = window;
    g_icon.uID = ICON_ID;
    g_icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    g_icon.uCallbackMessage = WM_TRAY_ICON;
    g_icon.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
    ::lstrcpynW(g_icon.szTip, L"Minimal tray", sizeof g_icon.szTip / sizeof g_icon.szTip[0]);
    if (!::Shell_NotifyIconW(NIM_ADD, &g_icon)) {
        ::DestroyWindow(window);
        return 1;
    }
    ::ShowWindow(window, visible ? SW_SHOWDEFAULT : SW_HIDE);

    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // Held until the process ends, as the running copy's mark is.
    const HANDLE running = ::CreateEventW(nullptr, FALSE, FALSE, L"VocabraMinimalTray");
    const bool com = SUCCEEDED(::CoInitialize(nullptr));
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_USEREX_CLASSES};
    ::InitCommonControlsEx(&controls);

    const int code = Run(instance, AskedToBeVisible());

    if (com)
        ::CoUninitialize();
    if (running)
        ::CloseHandle(running);
    return code;
}
