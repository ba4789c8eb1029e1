// Navigation, creation and release of Internet Explorer browsers.

#include "translate/target/BrowserAutomation_win32.h"

#include "foundation/log/Log.h"
#include "foundation/win32api/ComValues_win32.h"
#include "translate/target/TabCapableHost.h"

using Microsoft::WRL::ComPtr;
using Win32::API::Bstr;
using Win32::API::Variant;

namespace translate::target {
namespace {
// BrowserNavConstants::navOpenInNewTab.
constexpr LONG kOpenInNewTab = 0x800;

// CLSID_InternetExplorer, spelled out so that no import library has to provide it.
constexpr CLSID kInternetExplorerClassId = {0x0002DF01, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
}  // namespace

HRESULT NavigateBrowser(IWebBrowser2* browser, const std::u16string& url, bool newTab)
{
    Bstr address(url);
    Variant empty;
    if (newTab && IsTabCapableHost()) {
        Variant flags(kOpenInNewTab);
        HRESULT hr = browser->Navigate(address.Get(), &flags.Value(), &empty.Value(), &empty.Value(), &empty.Value());
        if (SUCCEEDED(hr))
            return hr;
    }
    return browser->Navigate(address.Get(), &empty.Value(), &empty.Value(), &empty.Value(), &empty.Value());
}

CLSID InternetExplorerClassId()
{
    CLSID clsid{};
    if (FAILED(::CLSIDFromProgID(L"InternetExplorer.Application", &clsid))) {
        Log log;
        log.Write("WEBBrowser FAILED to get InternetExplorer.Application CLSID, CLSID_InternetExplorer will be used");
        clsid = kInternetExplorerClassId;
    }
    return clsid;
}

HRESULT CreateInternetExplorer(ComPtr<IWebBrowser2>& browser)
{
    return ::CoCreateInstance(InternetExplorerClassId(), nullptr, CLSCTX_ALL,
                              IID_PPV_ARGS(browser.ReleaseAndGetAddressOf()));
}

void ReleaseBrowser(ComPtr<IWebBrowser2>& browser) noexcept
{
    if (!browser)
        return;
    // Read before the release: afterwards the browser may be gone.
    SHANDLE_PTR handle = 0;
    const bool haveWindow = SUCCEEDED(browser->get_HWND(&handle)) && handle != 0;
    VARIANT_BOOL visible = VARIANT_FALSE;
    const bool isVisible = SUCCEEDED(browser->get_Visible(&visible)) && visible == VARIANT_TRUE;

    const ULONG remaining = browser.Detach()->Release();

    const HWND window = reinterpret_cast<HWND>(handle);
    if (remaining == 0 && haveWindow && !isVisible && ::IsWindow(window))
        ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

}  // namespace translate::target
