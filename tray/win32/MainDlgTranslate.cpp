// Translating: the hot key's clipboard text, and the answer windows the controller asks for.
#include <cstring>
#include <optional>
#include <string_view>

#include "foundation/text/AnsiCodePage.h"
#include "foundation/threads/MessagePump_win32.h"
#include "translate/target/EmbeddedBrowserLibrary.h"
#include "translate/target/WEBBrowserTarget_win32.h"
#include "tray/ClipboardWord.h"
#include "tray/win32/MainDlg.h"
#include "update/UpdateOffer.h"

namespace tray::win32 {
namespace {
using translate::target::Target;

// Bound once, by the first main dialog; null before Vista and when the library or its export is
// missing.
translate::target::CreateTargetFunction g_createTarget = nullptr;

// The clipboard's text; none when it holds no text or the data cannot be locked.
std::optional<std::u16string> ReadClipboardText()
{
    const ClipboardFormat format = ChooseClipboardFormat(::IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE,
                                                         ::IsClipboardFormatAvailable(CF_TEXT) != FALSE);
    if (format == ClipboardFormat::UnicodeText) {
        const GlobalLockScope data(::GetClipboardData(CF_UNICODETEXT));
        if (!data.Data())
            return std::nullopt;
        // Bounded by the block, in case the text lacks its terminating zero.
        return std::u16string(static_cast<const char16_t*>(data.Data()), data.Size() / sizeof(char16_t));
    }
    if (format == ClipboardFormat::AnsiText) {
        const GlobalLockScope data(::GetClipboardData(CF_TEXT));
        if (!data.Data())
            return std::nullopt;
        const auto* text = static_cast<const char*>(data.Data());
        return text::FromAnsiCodePage(std::string_view(text, strnlen(text, data.Size())));
    }
    return std::nullopt;
}
}  // namespace

void CMainDlg::BindEmbeddedBrowserLibrary()
{
    g_createTarget = translate::target::BindCreateTarget();
}

class CMainDlg::TargetInUse {
public:
    explicit TargetInUse(CMainDlg& dialog) : m_dialog(dialog) {}
    ~TargetInUse()
    {
        translate::target::Target* const target = m_dialog.m_targetInUse;
        const bool closed = m_dialog.m_targetInUseClosed;
        m_dialog.m_targetInUse = nullptr;
        m_dialog.m_targetInUseClosed = false;
        if (target && closed)
            m_dialog.DisposeTarget(target);
    }
    TargetInUse(const TargetInUse&) = delete;
    TargetInUse& operator=(const TargetInUse&) = delete;

    void Is(Target* target) { m_dialog.m_targetInUse = target; }

private:
    CMainDlg& m_dialog;
};

void CMainDlg::OpenAnswer(const AnswerRequest& request)
{
    // Taken before the answer window, which becomes the foreground window, is made.
    const translate::target::MonitorArea monitor =
        m_requestMonitor ? *m_requestMonitor : translate::target::UserMonitor();
    m_requestMonitor.reset();
    TargetInUse inUse(*this);
    Target* window = g_createTarget ? g_createTarget(&CMainDlg::OnTargetClosed, this) : nullptr;
    if (!window) {
        // Before Vista, and whenever the embedded browser library cannot be had: Internet
        // Explorer's own windows, so that a translation always shows.
        translate::target::WEBBrowserTarget browser;
        request.show(browser);
        return;
    }
    m_openTargets.push_back(OpenTarget(window));
    inUse.Is(window);
    window->SetIcon(reinterpret_cast<HICON>(::SendMessageW(m_hWnd, WM_GETICON, ICON_SMALL, 0)));
    const bool userSize = m_answerPlaces.Open(*window, request.serviceId, monitor, m_settings.key);
    AnswerView view(*window, userSize);
    request.show(view);
    m_answerPlaces.Placed(*window);
}

void CMainDlg::UseBrowserTarget(const std::function<void(translate::target::Target&)>& use)
{
    // The browser's answers need no window of ours: Internet Explorer's own.
    translate::target::WEBBrowserTarget browser;
    use(browser);
}

void CMainDlg::OfferUpdate()
{
    update::OfferUpdate(m_hWnd, m_settings.key, threads::ThreadMessageFilter());
}

void CMainDlg::OnTargetClosed(Target* target, void* context)
{
    auto* self = static_cast<CMainDlg*>(context);
    if (target == self->m_targetInUse) {
        // Still in the engine's hands: the window is hidden now and goes when the translation
        // returns.
        self->m_targetInUseClosed = true;
        return;
    }
    self->DisposeTarget(target);
}

void CMainDlg::DisposeTarget(Target* target)
{
    for (auto it = m_openTargets.begin(); it != m_openTargets.end(); ++it) {
        if (it->get() != target)
            continue;
        // Out of the list before it is disposed, so that a call back from Dispose finds nothing.
        OpenTarget closing = std::move(*it);
        m_openTargets.erase(it);
        m_answerPlaces.Closing(*closing, m_settings.key);
        closing.reset();
        break;
    }
    // Minimised once, the hidden dialog stays so: minimising it again would show it as an icon,
    // and no WM_SIZE would come to hide it.
    if (m_openTargets.empty() && m_hWnd && !::IsWindowVisible(m_hWnd) && !::IsIconic(m_hWnd))
        ::PostMessageW(m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void CMainDlg::DisposeOpenTargets()
{
    std::list<OpenTarget> closing;
    closing.swap(m_openTargets);
    // The target a translation still shows into stays until the translation returns.
    for (auto it = closing.begin(); it != closing.end(); ++it) {
        if (it->get() == m_targetInUse) {
            m_openTargets.splice(m_openTargets.end(), closing, it);
            m_targetInUseClosed = true;
            break;
        }
    }
    for (const OpenTarget& target : closing)
        m_answerPlaces.Closing(*target, m_settings.key);
    closing.clear();
}

void CMainDlg::OnTranslateHotKey(UINT virtualKey)
{
    if (!m_controller.IsDoublePressOn(virtualKey))
        return;
    std::optional<std::u16string> text;
    {
        // Read even when the clipboard cannot be opened: the calls then simply find nothing.
        const ClipboardSession clipboard(m_hWnd);
        text = ReadClipboardText();
    }
    if (text)
        m_controller.OnClipboardText(*text);
}

void CMainDlg::PrepareHotKeyAnswer(bool showDialog)
{
    // Where the user pressed the keys, before the main dialog may take the foreground.
    m_requestMonitor = translate::target::UserMonitor();
    if (showDialog) {
        ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
        ::SetForegroundWindow(m_hWnd);
    }
}

}  // namespace tray::win32
