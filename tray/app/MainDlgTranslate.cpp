// Translating: the Translate button, the hot key's clipboard text, and the display targets.
#include <cstring>
#include <optional>
#include <string_view>

#include "foundation/text/AnsiCodePage.h"
#include "foundation/text/WhiteSpace.h"
#include "translate/manager/DictionaryManager.h"
#include "translate/manager/TranslateException.h"
#include "translate/target/EmbeddedBrowserLibrary.h"
#include "translate/target/WEBBrowserTarget_win32.h"
#include "tray/ClipboardWord.h"
#include "tray/HotKeyRecognizer.h"
#include "tray/UserSettings.h"
#include "tray/app/MainDlg.h"
#include "update/UpdateOffer.h"

namespace tray::app {
namespace {
using translate::manager::DictionaryManager;
using translate::target::Target;

// Bound once, by the first main dialog; null before Vista and when the library or its export is
// missing.
translate::target::CreateTargetFunction g_createTarget = nullptr;

// The clipboard's text, cleaned; none when it holds no text or the data cannot be locked.
std::optional<std::u16string> ReadClipboardWord()
{
    const ClipboardFormat format = ChooseClipboardFormat(::IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE,
                                                         ::IsClipboardFormatAvailable(CF_TEXT) != FALSE);
    if (format == ClipboardFormat::UnicodeText) {
        const GlobalLockScope data(::GetClipboardData(CF_UNICODETEXT));
        if (!data.Data())
            return std::nullopt;
        // Bounded by the block, in case the text lacks its terminating zero.
        return CleanClipboardWord(
            std::u16string_view(static_cast<const char16_t*>(data.Data()), data.Size() / sizeof(char16_t)));
    }
    if (format == ClipboardFormat::AnsiText) {
        const GlobalLockScope data(::GetClipboardData(CF_TEXT));
        if (!data.Data())
            return std::nullopt;
        const auto* text = static_cast<const char*>(data.Data());
        return CleanClipboardWord(text::FromAnsiCodePage(std::string_view(text, strnlen(text, data.Size()))));
    }
    return std::nullopt;
}
}  // namespace

void CMainDlg::BindEmbeddedBrowserLibrary()
{
    g_createTarget = translate::target::BindCreateTarget();
}

void CMainDlg::OnTranslate()
{
    MoveWordFromEdit();
    m_word = std::u16string(text::TrimLeft(text::TrimRight(m_word)));
    if (m_word.empty())
        return;

    try {
        DictionaryManager& manager = DictionaryManager::GetInstance();
        const translate::Direction direction = GetCurrentDirection(m_settings.key);
        Target* window = g_createTarget ? g_createTarget(&CMainDlg::OnTargetClosed, this) : nullptr;
        if (window) {
            OpenTarget owner(window);
            m_openTargets.push_back(std::move(owner));
            window->SetIcon(reinterpret_cast<HICON>(::SendMessageW(m_hWnd, WM_GETICON, ICON_SMALL, 0)));
            manager.Translate(m_word, direction, *window);
        } else {
            // Before Vista, and whenever the embedded browser library cannot be had: Internet
            // Explorer's own windows, so that a translation always shows.
            translate::target::WEBBrowserTarget target;
            manager.Translate(m_word, direction, target);
        }
    } catch (const translate::TranslateException&) {
        // The request failed; the user sees nothing, as with every engine failure.
    }

    update::OfferUpdate(m_hWnd, m_settings.key, [](MSG& message) {
        CMessageLoop* loop = CMessageLoop::ForCurrentThread();
        return loop && loop->PreTranslate(message);
    });
}

void CMainDlg::OnTargetClosed(Target* target, void* context)
{
    auto* self = static_cast<CMainDlg*>(context);
    for (auto it = self->m_openTargets.begin(); it != self->m_openTargets.end(); ++it) {
        if (it->get() != target)
            continue;
        // Out of the list before it is disposed, so that a call back from Dispose finds nothing.
        OpenTarget closing = std::move(*it);
        self->m_openTargets.erase(it);
        closing.reset();
        break;
    }
    // Minimised once, the hidden dialog stays so: minimising it again would show it as an icon,
    // and no WM_SIZE would come to hide it.
    if (self->m_openTargets.empty() && self->m_hWnd && !::IsWindowVisible(self->m_hWnd) && !::IsIconic(self->m_hWnd))
        ::PostMessageW(self->m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void CMainDlg::DisposeOpenTargets()
{
    std::list<OpenTarget> closing;
    closing.swap(m_openTargets);
    closing.clear();
}

void CMainDlg::OnTranslateHotKey(UINT virtualKey)
{
    if (virtualKey == kVirtualKeyInsert && !IsHotKeyOn(m_settings.key, u"useCtrlInsIns"))
        return;
    if (virtualKey == kVirtualKeyC && !IsHotKeyOn(m_settings.key, u"useCtrlCC"))
        return;

    std::optional<std::u16string> word;
    {
        // Read even when the clipboard cannot be opened: the calls then simply find nothing.
        const ClipboardSession clipboard(m_hWnd);
        word = ReadClipboardWord();
    }
    if (!word || word->empty())
        return;

    m_word = std::move(*word);
    if (!MoveWordToEdit()) {
        ::MessageBeep(0xFFFFFFFF);
        ::SetFocus(::GetDlgItem(m_hWnd, IDC_WORD));
    }
    if (IsOpenMainWindowOnTranslation(m_settings.key)) {
        ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
        ::SetForegroundWindow(m_hWnd);
    }
    // Translate reads the edit again when the message arrives.
    ::PostMessageW(m_hWnd, WM_COMMAND, IDOK, 0);
}

}  // namespace tray::app
