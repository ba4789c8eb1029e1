#pragma once
// Where translations are shown: an answer window of the answer window library for every request,
// or, where that library or its web engine cannot be loaded, the desktop's browser.

#include <list>
#include <memory>
#include <string>

#include "foundation/win32api/Handles.h"
#include "translate/target/AnswerWindow.h"

namespace tray::gtk {

// Hands an address to the desktop's browser (xdg-open); false when it cannot be started.
bool OpenWithDesktop(std::string address);

// Shows each address with xdg-open.
class DesktopBrowserTarget final : public translate::target::RequestDisplayTarget {
public:
    void ShowUrl(const std::u16string& url, const translate::Direction& direction,
                 const translate::target::DisplaySettings& display) override;
};

class AnswerWindows {
public:
    AnswerWindows() = default;
    ~AnswerWindows();
    AnswerWindows(const AnswerWindows&) = delete;
    AnswerWindows& operator=(const AnswerWindows&) = delete;

    // Runs `show` with a target for one request. The library is loaded on the first call, not
    // before: the web engine costs nothing until an answer is shown. A window whose request
    // fails is closed again; the failure passes on to the caller.
    template <class Show>
    void Translate(const std::string& iconPath, Show&& show)
    {
        translate::target::RequestDisplayTarget* window = Open(iconPath);
        if (!window) {
            show(m_browser);
            return;
        }
        try {
            show(*window);
        } catch (...) {
            Close(window);
            throw;
        }
    }

    // Loads the library now, so that the first answer does not wait for it.
    void Prepare();
    bool Empty() const { return m_open.empty(); }
    void CloseAll();

private:
    struct Dispose {
        void operator()(translate::target::RequestDisplayTarget* window) const noexcept { window->Dispose(); }
    };
    using OpenWindow = std::unique_ptr<translate::target::RequestDisplayTarget, Dispose>;

    translate::target::RequestDisplayTarget* Open(const std::string& iconPath);
    void Close(translate::target::RequestDisplayTarget* window);
    static void OnClosed(translate::target::RequestDisplayTarget* window, void* context);

    bool m_bound = false;
    Win32::API::Library m_library;
    translate::target::CreateAnswerWindowFunction m_create = nullptr;
    std::list<OpenWindow> m_open;
    DesktopBrowserTarget m_browser;
};

}  // namespace tray::gtk
