#pragma once
// The monitor an answer opens on, in the pixels and dots per inch of that monitor. The system's
// DPI functions are looked up at run time: older systems and Wine may lack some of them.

#include <windows.h>

#include <exdisp.h>

#include <cstdint>

#include "translate/target/AnswerPlacement.h"

namespace translate::target {

struct MonitorArea {
    ScreenRect workArea;
    std::uint32_t dpi;
};

// The monitor of the window the user works in (the foreground window), else the one under the
// pointer.
MonitorArea UserMonitor();
// The monitor that holds most of `window`, else the nearest.
MonitorArea MonitorOf(HWND window);
// The DPI `window` is drawn at: its monitor's for a per-monitor aware program, else the system's.
std::uint32_t WindowDpi(HWND window);

// The top-level window around an embedded browser control; null when the control has no window.
HWND EmbeddingWindow(IWebBrowser2* browser);

// An Internet Explorer window of a service's size (96-DPI units; a side of 0 or less is left to
// the browser) centred on the user's monitor: Left and Width, then Top and Height.
void PlaceBrowserWindow(IWebBrowser2* browser, std::int32_t width, std::int32_t height);

}  // namespace translate::target
