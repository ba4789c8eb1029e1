#pragma once
// A target that lends a browser and records what the display procedure does to it.

#include <windows.h>

#include <exdisp.h>
#include <wrl/client.h>

#include <array>
#include <cstdint>
#include <vector>

#include "translate/target/ClassId_win32.h"
#include "translate/target/DisplaySettings.h"
#include "translate/target/Target.h"

namespace wintest {

// The "dialog" display with the class `clsid`, in a window of 600 by 400.
inline translate::target::DisplaySettings DialogDisplay(const CLSID& clsid)
{
    translate::target::DisplaySettings display;
    display.displayType = u"dialog";
    display.width = 600;
    display.height = 400;
    display.dialogClsid = translate::target::FromClsid(clsid);
    return display;
}

class TestTarget final : public translate::target::Target {
public:
    TestTarget(bool embedded, IWebBrowser2* browser) : m_embedded(embedded), m_browser(browser) {}

    IWebBrowser2* GetBrowser() override { return m_browser.Get(); }
    bool IsEmbedded() override { return m_embedded; }
    void SetBounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) override
    {
        bounds.push_back({left, top, width, height});
    }
    void SetIcon(HICON__*) override {}
    void SetDialogHandler(IDispatch* handler) override { dialogHandler = handler; }
    void Dispose() override {}

    std::vector<std::array<std::int32_t, 4>> bounds;  // left, top, width, height
    Microsoft::WRL::ComPtr<IDispatch> dialogHandler;

private:
    bool m_embedded;
    Microsoft::WRL::ComPtr<IWebBrowser2> m_browser;
};

}  // namespace wintest
