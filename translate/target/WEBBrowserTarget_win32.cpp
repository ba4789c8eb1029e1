#include "translate/target/WEBBrowserTarget_win32.h"

#include "translate/target/BrowserAutomation_win32.h"

namespace translate::target {

WEBBrowserTarget::WEBBrowserTarget(IWebBrowser2* browser) : m_browser(browser) {}

WEBBrowserTarget::~WEBBrowserTarget()
{
    ReleaseBrowser(m_browser);
}

IWebBrowser2* WEBBrowserTarget::GetBrowser()
{
    return m_browser.Get();
}

bool WEBBrowserTarget::IsEmbedded()
{
    return false;
}

void WEBBrowserTarget::SetBounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height)
{
    if (!m_browser)
        return;
    m_browser->put_Left(left);
    m_browser->put_Top(top);
    m_browser->put_Width(width);
    m_browser->put_Height(height);
}

void WEBBrowserTarget::SetIcon(HICON__* icon)
{
    SHANDLE_PTR handle = 0;
    if (!m_browser || FAILED(m_browser->get_HWND(&handle)) || handle == 0)
        return;
    const HWND window = reinterpret_cast<HWND>(handle);
    ::SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    ::SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
}

// The dialog object is released by ShowDialog: this target has no window to hand it over to.
void WEBBrowserTarget::SetDialogHandler(IDispatch*) {}

// Lives on the caller's stack: its destructor ends it.
void WEBBrowserTarget::Dispose() {}

}  // namespace translate::target
