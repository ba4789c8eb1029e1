// The monitors as the system reports them, and a window moved the way the system moves it.
//   monitor_areas                    one line per monitor: "left top right bottom" of its work area
//   monitor_areas move <title> X Y   moves the top-level dialog of that title to X,Y; exit code 1
//                                    when there is none
// The move goes through the system, as a user's drag does, so that the place the program reads
// back from Wine is the one the test chose.
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {
BOOL CALLBACK PrintMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM)
{
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (::GetMonitorInfoW(monitor, &info)) {
        const RECT& work = info.rcWork;
        std::printf("%ld %ld %ld %ld\n", work.left, work.top, work.right, work.bottom);
    }
    return TRUE;
}
}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc == 5 && std::wcscmp(argv[1], L"move") == 0) {
        const HWND window = ::FindWindowW(L"#32770", argv[2]);
        if (!window)
            return 1;
        const int x = std::wcstol(argv[3], nullptr, 10);
        const int y = std::wcstol(argv[4], nullptr, 10);
        return ::SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) ? 0 : 1;
    }
    ::EnumDisplayMonitors(nullptr, nullptr, PrintMonitor, 0);
    std::fflush(stdout);
    return 0;
}
