#pragma once
// A stand-in for Internet Explorer that records what the display procedure asks of it: Wine's
// browser ignores the window placement and bar calls, so they are observed here.

#include <windows.h>

#include <exdisp.h>
#include <ocidl.h>
#include <wrl/client.h>

#include <memory>
#include <string>
#include <vector>

namespace wintest {

// Shared by a test and every fake browser it hands out; outlives the browsers.
struct BrowserScript {
    std::vector<std::string> calls;  // "Left=340", "Navigate <url> flags=<vt> ...", "Visible=-1"
    HRESULT createResult = S_OK;     // of the class object's CreateInstance
    HRESULT navigateResult = S_OK;
    HWND window = nullptr;                       // what get_HWND reports
    int created = 0;                             // creation requests to the class object
    Microsoft::WRL::ComPtr<IDispatch> document;  // what get_Document hands out (none: it fails)
    // What QueryInterface hands out for IConnectionPointContainer (none: the browser has no events).
    Microsoft::WRL::ComPtr<IConnectionPointContainer> events;
};

Microsoft::WRL::ComPtr<IWebBrowser2> MakeFakeBrowser(const std::shared_ptr<BrowserScript>& script);

// A class object that makes fake browsers, for registration in place of Internet Explorer.
Microsoft::WRL::ComPtr<IClassFactory> MakeFakeBrowserClass(const std::shared_ptr<BrowserScript>& script);

}  // namespace wintest
