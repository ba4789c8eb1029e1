#pragma once
// A target without a browser of its own that shows each request through ShowUrl: what the native
// build's programs and tests hand to the engine.

#include "translate/target/RequestDisplay.h"
#include "translate/target/Target.h"

namespace translate::target {

class RequestDisplayTarget : public Target, public RequestDisplay {
public:
    IWebBrowser2* GetBrowser() override { return nullptr; }
    bool IsEmbedded() override { return false; }
    void SetBounds(std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {}
    void SetIcon(HICON__*) override {}
    void SetDialogHandler(IDispatch*) override {}
    void Dispose() override {}

protected:
    ~RequestDisplayTarget() = default;
};

}  // namespace translate::target
