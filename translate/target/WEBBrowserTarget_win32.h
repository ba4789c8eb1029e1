#pragma once
// The target of the tray program before Vista: no window of its own, at most a browser lent for
// "tab" requests. Lives for one request on the caller's stack.

#include <windows.h>

#include <exdisp.h>
#include <wrl/client.h>

#include "translate/target/Target.h"

namespace translate::target {

class WEBBrowserTarget final : public Target {
public:
    // Takes its own reference to `browser` (may be null).
    explicit WEBBrowserTarget(IWebBrowser2* browser = nullptr);
    // Gives the reference up through ReleaseBrowser: a browser window hidden by then is closed.
    ~WEBBrowserTarget();
    WEBBrowserTarget(const WEBBrowserTarget&) = delete;
    WEBBrowserTarget& operator=(const WEBBrowserTarget&) = delete;

    IWebBrowser2* GetBrowser() override;
    bool IsEmbedded() override;
    void SetBounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) override;
    void SetIcon(HICON__* icon) override;
    void SetDialogHandler(IDispatch* handler) override;
    void Dispose() override;

private:
    Microsoft::WRL::ComPtr<IWebBrowser2> m_browser;
};

}  // namespace translate::target
