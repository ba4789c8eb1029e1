#pragma once
// The answer windows' places as the tray program keeps them: a new window goes to the monitor the
// user works on, at the size the user last gave that service's answers, and a size the user gives
// is remembered when the window goes. The library's target knows no service, so the program keeps
// the service of each open window here and reads the window's size before disposing of it.

#include <windows.h>

#include <optional>
#include <string>
#include <unordered_map>

#include "foundation/win32api/Handles.h"
#include "translate/target/AnswerMonitor_win32.h"
#include "translate/target/Target.h"

namespace tray::win32 {

// The engine's view of an answer window: everything goes to the window, except a service's size
// when the user's own size for that service is already in place.
class AnswerView final : public translate::target::Target {
public:
    AnswerView(translate::target::Target& window, bool keepSize) : m_window(window), m_keepSize(keepSize) {}

    IWebBrowser2* GetBrowser() override { return m_window.GetBrowser(); }
    bool IsEmbedded() override { return m_window.IsEmbedded(); }
    void SetBounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) override;
    void SetIcon(HICON__* icon) override { m_window.SetIcon(icon); }
    void SetDialogHandler(IDispatch* handler) override { m_window.SetDialogHandler(handler); }
    // The program disposes of the window itself.
    void Dispose() override {}

private:
    translate::target::Target& m_window;
    bool m_keepSize;
};

class AnswerPlaces {
public:
    // Puts a new window on `monitor`, at the remembered size of `serviceId` or else at its own
    // size; true when the remembered size was used.
    bool Open(translate::target::Target& window,
              const std::u16string& serviceId,
              const translate::target::MonitorArea& monitor,
              const Win32::API::RegKey& settings);
    // The size the engine gave the window: a size the user gives later differs from it.
    void Placed(translate::target::Target& window);
    // Before the window goes: its size is remembered for its service if the user changed it.
    void Closing(translate::target::Target& window, Win32::API::RegKey& settings);

private:
    struct OpenWindow {
        std::u16string serviceId;
        std::optional<translate::target::LogicalSize> placed;
    };
    std::unordered_map<translate::target::Target*, OpenWindow> m_open;
};

}  // namespace tray::win32
