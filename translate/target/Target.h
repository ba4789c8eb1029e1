#pragma once
// The place where the engine shows a request: a browser window of the caller's. Shared with the
// embedded browser library, so the operations keep this order and no data is added.

#include <cstdint>

// The system's types, declared without the system headers so that portable code can name them.
struct IWebBrowser2;
struct IDispatch;
struct HICON__;  // NOLINT(bugprone-reserved-identifier): the system headers' own name

namespace translate::target {

class Target {
public:
    // The browser pages are shown in; not add-referenced for the caller.
    virtual IWebBrowser2* GetBrowser() = 0;
    // True: the target has a window of its own and every request is shown in its browser.
    virtual bool IsEmbedded() = 0;
    virtual void SetBounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) = 0;
    // Both the small and the big window icon.
    virtual void SetIcon(HICON__* icon) = 0;
    // The dialog class object now showing into this target, detached when the target goes.
    virtual void SetDialogHandler(IDispatch* handler) = 0;
    // Ends the target; a window target closes and frees itself.
    virtual void Dispose() = 0;

protected:
    // Not deleted through this interface: each target is ended the way its creator defines.
    ~Target() = default;
};

}  // namespace translate::target
