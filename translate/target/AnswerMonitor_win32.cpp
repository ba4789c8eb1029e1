#include "translate/target/AnswerMonitor_win32.h"

#include <wrl/client.h>

#include "foundation/win32api/Handles.h"

using Microsoft::WRL::ComPtr;

namespace translate::target {
namespace {
constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI, whose header MinGW may lack
using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);

// shcore.dll stays loaded once found: it is a system library and the lookup runs per answer.
GetDpiForMonitorFunction DpiForMonitorFunction()
{
    static const GetDpiForMonitorFunction function = [] {
        static Win32::API::Library shcore;
        return shcore.Load(u"shcore.dll")
                   ? reinterpret_cast<GetDpiForMonitorFunction>(shcore.GetSymbol("GetDpiForMonitor"))
                   : nullptr;
    }();
    return function;
}

std::uint32_t SystemDpi()
{
    const HDC screen = ::GetDC(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen)
        ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<std::uint32_t>(dpi) : 96;
}

std::uint32_t MonitorDpi(HMONITOR monitor)
{
    UINT x = 0;
    UINT y = 0;
    const GetDpiForMonitorFunction function = DpiForMonitorFunction();
    if (function && SUCCEEDED(function(monitor, kEffectiveDpi, &x, &y)) && x > 0)
        return x;
    return SystemDpi();
}

MonitorArea AreaOf(HMONITOR monitor)
{
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!monitor || !::GetMonitorInfoW(monitor, &info)) {
        // No monitor to ask: the primary screen as the oldest systems knew it.
        return {{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)}, SystemDpi()};
    }
    const RECT& work = info.rcWork;
    return {{work.left, work.top, work.right - work.left, work.bottom - work.top}, MonitorDpi(monitor)};
}
}  // namespace

MonitorArea UserMonitor()
{
    if (const HWND foreground = ::GetForegroundWindow()) {
        if (const HMONITOR monitor = ::MonitorFromWindow(foreground, MONITOR_DEFAULTTONULL))
            return AreaOf(monitor);
    }
    POINT pointer{};
    ::GetCursorPos(&pointer);
    return AreaOf(::MonitorFromPoint(pointer, MONITOR_DEFAULTTONEAREST));
}

MonitorArea MonitorOf(HWND window)
{
    return AreaOf(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
}

std::uint32_t WindowDpi(HWND window)
{
    static const auto function = reinterpret_cast<GetDpiForWindowFunction>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    const UINT dpi = function ? function(window) : 0;
    return dpi > 0 ? dpi : MonitorDpi(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
}

HWND EmbeddingWindow(IWebBrowser2* browser)
{
    ComPtr<IOleWindow> control;
    HWND window = nullptr;
    if (!browser || FAILED(browser->QueryInterface(IID_PPV_ARGS(&control))) || FAILED(control->GetWindow(&window)) ||
        !window)
        return nullptr;
    return ::GetAncestor(window, GA_ROOT);
}

void PlaceBrowserWindow(IWebBrowser2* browser, std::int32_t width, std::int32_t height)
{
    if (width <= 0 && height <= 0)
        return;
    const MonitorArea monitor = UserMonitor();
    // A side left to the browser is placed as if it were one unit: only the other one is used.
    const ScreenRect placed = PlaceAnswerWindow({width, height}, monitor.dpi, monitor.workArea);
    if (width > 0) {
        browser->put_Left(placed.left);
        browser->put_Width(placed.width);
    }
    if (height > 0) {
        browser->put_Top(placed.top);
        browser->put_Height(placed.height);
    }
}

}  // namespace translate::target
