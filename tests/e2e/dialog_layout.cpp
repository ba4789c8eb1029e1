// Reports whether the controls of the visible dialogs whose title begins as asked lie inside their
// dialog's client area, as the system places them: `dialog_layout "<title>"`. One line per control; the
// exit code is the number of controls that stick out (100 when no such dialog is shown).
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {
struct Search {
    const wchar_t* title;
    int dialogs = 0;
    int clipped = 0;
};

BOOL CALLBACK CheckControl(HWND control, LPARAM parameter)
{
    auto* search = reinterpret_cast<Search*>(parameter);
    const HWND dialog = ::GetParent(control);
    if (!::IsWindowVisible(control))
        return TRUE;
    RECT client{};
    RECT bounds{};
    ::GetClientRect(dialog, &client);
    ::GetWindowRect(control, &bounds);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&bounds), 2);
    const bool inside = bounds.left >= client.left && bounds.top >= client.top && bounds.right <= client.right &&
                        bounds.bottom <= client.bottom;
    wchar_t kind[64] = {};
    ::GetClassNameW(control, kind, 64);
    std::printf("%s id %d %ls %ld,%ld-%ld,%ld in %ldx%ld\n", inside ? "inside" : "CLIPPED", ::GetDlgCtrlID(control),
                kind, bounds.left, bounds.top, bounds.right, bounds.bottom, client.right, client.bottom);
    if (!inside)
        ++search->clipped;
    return TRUE;
}

BOOL CALLBACK CheckDialog(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<Search*>(parameter);
    wchar_t title[256] = {};
    wchar_t kind[64] = {};
    ::GetWindowTextW(window, title, 256);
    ::GetClassNameW(window, kind, 64);
    if (!::IsWindowVisible(window) || std::wcscmp(kind, L"#32770") != 0 ||
        std::wcsncmp(title, search->title, std::wcslen(search->title)) != 0)
        return TRUE;
    ++search->dialogs;
    // Direct children only: a control's own parts are the control's business.
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        CheckControl(child, parameter);
    return TRUE;
}
}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2)
        return 101;
    // The pixels the user sees, whatever the DPI.
    ::SetProcessDPIAware();
    Search search{argv[1]};
    ::EnumWindows(&CheckDialog, reinterpret_cast<LPARAM>(&search));
    return search.dialogs == 0 ? 100 : search.clipped;
}
