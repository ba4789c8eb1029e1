// The display procedure on Windows: the embedded target's browser, a new Internet Explorer
// window, or a dialog class of the dialog server.

#include "translate/target/ShowRequest.h"

#include <utility>

#include "translate/manager/TranslateException.h"
#include "translate/target/AnswerMonitor_win32.h"
#include "translate/target/BrowserAutomation_win32.h"
#include "translate/target/DialogServerCall_win32.h"

using Microsoft::WRL::ComPtr;

namespace translate::target {
namespace {
// The service's size scaled to the answer window's monitor and centred on its work area. The
// window is put on the user's monitor when it is made, so its own monitor is the one to fill;
// without a window of its own to ask, the monitor the user works on.
void PlaceEmbeddedWindow(Target& target, IWebBrowser2* browser, const DisplaySettings& display)
{
    const HWND window = EmbeddingWindow(browser);
    const MonitorArea monitor = window ? MonitorOf(window) : UserMonitor();
    const ScreenRect placed = PlaceAnswerWindow({display.width, display.height}, monitor.dpi, monitor.workArea);
    target.SetBounds(placed.left, placed.top, placed.width, placed.height);
}

void ShowInEmbeddedTarget(const std::u16string& url,
                          const Direction& direction,
                          Target& target,
                          const DisplaySettings& display)
{
    HeldBrowser browser(target.GetBrowser());
    if (!browser.Get())
        throw TranslateException(u"Cannot get browser instance");

    if (display.width > 0 && display.height > 0)
        PlaceEmbeddedWindow(target, browser.Get(), display);

    if (display.displayType == u"dialog") {
        ShowDialog(url, direction, &target, display.dialogClsid);
    } else if (FAILED(NavigateBrowser(browser.Get(), url, false))) {
        throw TranslateException(u"Cannot navigate");
    }
}

// The tray program is never the browser process, so this opens a window rather than a tab.
void ShowInTab(const std::u16string& url, Target& target)
{
    ComPtr<IWebBrowser2> lent = target.GetBrowser();
    if (!lent && FAILED(CreateInternetExplorer(lent)))
        return;
    HeldBrowser browser(std::move(lent));
    if (SUCCEEDED(NavigateBrowser(browser.Get(), url, true)))
        browser->put_Visible(VARIANT_TRUE);
}

void ShowInPopup(const std::u16string& url, const DisplaySettings& display)
{
    ComPtr<IWebBrowser2> created;
    if (FAILED(CreateInternetExplorer(created)))
        return;
    HeldBrowser browser(std::move(created));

    PlaceBrowserWindow(browser.Get(), display.width, display.height);
    browser->put_AddressBar(VARIANT_FALSE);
    browser->put_MenuBar(VARIANT_FALSE);
    browser->put_StatusBar(VARIANT_FALSE);
    browser->put_ToolBar(VARIANT_FALSE);
    if (SUCCEEDED(NavigateBrowser(browser.Get(), url, false)))
        browser->put_Visible(VARIANT_TRUE);
}
}  // namespace

void ShowRequest(const std::u16string& url, const Direction& direction, Target& target, const DisplaySettings& display)
{
    if (target.IsEmbedded()) {
        ShowInEmbeddedTarget(url, direction, target, display);
    } else if (display.displayType == u"tab") {
        ShowInTab(url, target);
    } else if (display.displayType == u"dialog") {
        ShowDialog(url, direction, nullptr, display.dialogClsid);
    } else if (display.displayType == u"popup") {
        ShowInPopup(url, display);
    }
}

}  // namespace translate::target
