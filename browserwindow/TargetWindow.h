#pragma once
// The window of one answer: dialog 2000 of this library with a browser control filling it. It
// reports its closing by the user once, through the callback given to CreateTarget, and is ended
// by its target's Dispose.

#include <windows.h>

#include <wrl/client.h>

#include <memory>

#include "browserwindow/BrowserHost.h"
#include "translate/target/EmbeddedBrowserLibrary.h"
#include "translate/target/Target.h"

namespace browserwindow {

constexpr unsigned kTargetWindowTemplate = 2000;

class TargetWindow final {
public:
    class Target;

    // A new window, shown, with its browser control (which may be missing when the control
    // cannot be had); null when the window itself cannot be made.
    static std::unique_ptr<TargetWindow> Open();
    ~TargetWindow();
    TargetWindow(const TargetWindow&) = delete;
    TargetWindow& operator=(const TargetWindow&) = delete;

    // The answer window of this library that `window` is, or null.
    static TargetWindow* FromHandle(HWND window);
    HWND Handle() const { return m_window; }
    // Offers a key typed into the window to its page; true when the page took it.
    bool OfferKeyToPage(MSG& key) { return m_host && m_host->OfferKey(key); }
    IWebBrowser2* Browser() const { return m_host ? m_host->Browser() : nullptr; }
    // New bounds in the pixels of the monitor they lie on, kept as given.
    void Place(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height);
    // Who hears of the window's closing by the user.
    void SetCloseCallback(translate::target::TargetClosedCallback callback, void* context, Target* target);

private:
    TargetWindow() = default;
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnClose();
    void FollowDpiChange(const RECT& suggested);

    HWND m_window = nullptr;
    bool m_placing = false;  // in Place: a DPI change on the way is already accounted for
    Microsoft::WRL::ComPtr<BrowserHost> m_host;
    translate::target::TargetClosedCallback m_closeCallback = nullptr;
    void* m_closeContext = nullptr;
    Target* m_target = nullptr;  // not owned: the target owns this window
};

// What CreateTarget hands out: the window's operations in the engine's slot order.
class TargetWindow::Target final : public translate::target::Target {
public:
    // Owns `window`, which may be null when none could be made (there is then no browser).
    explicit Target(std::unique_ptr<TargetWindow> window);
    // The owner's callback, called once when the user closes the window.
    void ListenForClose(translate::target::TargetClosedCallback callback, void* context);

    IWebBrowser2* GetBrowser() override;
    bool IsEmbedded() override;
    void SetBounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) override;
    void SetIcon(HICON__* icon) override;
    void SetDialogHandler(IDispatch* handler) override;
    // Detaches the dialog handler, destroys the window and frees this target.
    void Dispose() override;

private:
    void DetachDialogHandler();

    std::unique_ptr<TargetWindow> m_window;
    Microsoft::WRL::ComPtr<IDispatch> m_dialogHandler;
};

}  // namespace browserwindow
