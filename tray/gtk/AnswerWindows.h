#pragma once
// Where translations are shown: an answer window of the answer window library for every request,
// or, where that library or its web engine cannot be loaded, the desktop's browser.

#include <list>
#include <memory>
#include <string>

#include "foundation/glib/GLibOwnership.h"
#include "foundation/win32api/Handles.h"
#include "translate/target/AnswerWindow.h"

namespace tray::gtk {

// Hands an address to the desktop's browser (xdg-open); false when it cannot be started.
bool OpenWithDesktop(std::string address);

// Shows each address with xdg-open.
class DesktopBrowserTarget final : public translate::target::RequestDisplayTarget {
public:
    void ShowUrl(const std::u16string& url,
                 const translate::Direction& direction,
                 const translate::target::DisplaySettings& display) override;
};

// Long enough for the programs of a session that starts this one to start first; short enough
// that few first lookups come before it.
constexpr unsigned kPrepareSeconds = 10;

class AnswerWindows {
public:
    // `settings`: the program's settings key, where each service's zoom and window size are kept.
    explicit AnswerWindows(Win32::API::RegKey& settings) : m_settings(settings) {}
    ~AnswerWindows();
    AnswerWindows(const AnswerWindows&) = delete;
    AnswerWindows& operator=(const AnswerWindows&) = delete;

    // Runs `show` with a target for one request of the service `serviceId`. The library is loaded
    // on the first call if Prepare() has not loaded it yet. A window whose request fails is closed
    // again; the failure passes on to the caller.
    template <class Show>
    void Translate(const std::string& iconPath, const std::u16string& serviceId, Show&& show)
    {
        translate::target::RequestDisplayTarget* window = Open(iconPath, serviceId);
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

    // Loads the library (and WebKitGTK with it) now, so that the first answer does not wait for the
    // loading. No process of the web engine starts: the library costs about 33 MB resident, a
    // running engine ten times that. Only the first call does anything; where the library cannot
    // be loaded, answers go to the desktop's browser.
    void Prepare();
    // Prepare() once the program has waited a while after this call: kPrepareSeconds, or the
    // seconds that $VOCABRA_PREPARE_SECONDS gives (tests choose their moment with it).
    void PrepareWhenIdle();
    bool Empty() const { return m_open.empty(); }
    void CloseAll();

private:
    struct Dispose {
        void operator()(translate::target::RequestDisplayTarget* window) const noexcept { window->Dispose(); }
    };
    // The context of a window's callbacks: what it reports belongs to its service.
    struct OpenWindow {
        AnswerWindows* owner;
        std::u16string serviceId;
        // Last, so that it is disposed of first: Dispose may still report to this object.
        std::unique_ptr<translate::target::RequestDisplayTarget, Dispose> window;
    };

    static gboolean OnPrepareTime(gpointer self);
    translate::target::RequestDisplayTarget* Open(const std::string& iconPath, const std::u16string& serviceId);
    void Close(translate::target::RequestDisplayTarget* window);
    static void OnClosed(translate::target::RequestDisplayTarget* window, void* context);
    static void OnChanged(translate::target::RequestDisplayTarget* window,
                          void* context,
                          const translate::target::AnswerWindowMemory* changed);

    Win32::API::RegKey& m_settings;
    glib::SourceId m_prepareTimer;
    bool m_bound = false;
    Win32::API::Library m_library;
    // The library's exports: the second where the library has it (remembering needs it).
    translate::target::CreateAnswerWindowFunction m_create = nullptr;
    translate::target::CreateRememberingAnswerWindowFunction m_createRemembering = nullptr;
    std::list<std::unique_ptr<OpenWindow>> m_open;
    DesktopBrowserTarget m_browser;
};

}  // namespace tray::gtk
