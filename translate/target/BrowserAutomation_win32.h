#pragma once
// Internet Explorer automation as the display procedure drives it; the tray program and the
// dialog server use the same routines.

#include <windows.h>

#include <exdisp.h>
#include <wrl/client.h>

#include <string>
#include <utility>

namespace translate::target {

// IWebBrowser2::Navigate to `url`. A new tab is asked for only when `newTab` is set and this
// process is a tab-capable Internet Explorer; a refused tab request is retried as a plain
// navigation. Throws std::bad_alloc when the address cannot be copied.
HRESULT NavigateBrowser(IWebBrowser2* browser, const std::u16string& url, bool newTab);

// The class of "InternetExplorer.Application", or CLSID_InternetExplorer (with a log line) when
// the name is not registered.
CLSID InternetExplorerClassId();

// A new Internet Explorer instance, hidden until it is made visible.
HRESULT CreateInternetExplorer(Microsoft::WRL::ComPtr<IWebBrowser2>& browser);

// Gives up one browser reference and empties `browser`. When that was the last reference and
// the browser's window is hidden, the window is closed: nobody could show or close it any more.
void ReleaseBrowser(Microsoft::WRL::ComPtr<IWebBrowser2>& browser) noexcept;

// A browser reference given up through ReleaseBrowser however its holder's work ends, so that
// a window left hidden is closed. Holds nothing when `browser` is no browser.
class HeldBrowser {
public:
    explicit HeldBrowser(Microsoft::WRL::ComPtr<IWebBrowser2> browser) : m_browser(std::move(browser)) {}
    explicit HeldBrowser(IUnknown* object)
    {
        if (object)
            object->QueryInterface(IID_PPV_ARGS(&m_browser));
    }
    ~HeldBrowser() { ReleaseBrowser(m_browser); }
    HeldBrowser(const HeldBrowser&) = delete;
    HeldBrowser& operator=(const HeldBrowser&) = delete;

    IWebBrowser2* operator->() const { return m_browser.Get(); }
    IWebBrowser2* Get() const { return m_browser.Get(); }

private:
    Microsoft::WRL::ComPtr<IWebBrowser2> m_browser;
};

}  // namespace translate::target
