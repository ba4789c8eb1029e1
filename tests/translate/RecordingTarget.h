#pragma once
// A target that records the requests shown on it (native build).

#include <vector>

#include "translate/target/RequestDisplay.h"
#include "translate/target/Target.h"

namespace testsupport {

class RecordingTarget : public translate::target::Target, public translate::target::RequestDisplay {
public:
    struct Request {
        std::u16string url;
        translate::Direction direction;
        translate::target::DisplaySettings display;
    };

    IWebBrowser2* GetBrowser() override { return nullptr; }
    bool IsEmbedded() override { return false; }
    void SetBounds(std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {}
    void SetIcon(HICON__*) override {}
    void SetDialogHandler(IDispatch*) override {}
    void Dispose() override {}

    void ShowUrl(const std::u16string& url, const translate::Direction& direction,
                 const translate::target::DisplaySettings& display) override
    {
        requests.push_back({url, direction, display});
    }

    std::vector<Request> requests;
};

}  // namespace testsupport
