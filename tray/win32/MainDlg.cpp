// The main dialog's life: construction, message map, initialisation, placement, close and destroy.
#include "tray/win32/MainDlg.h"

#include <optional>

#include "foundation/config/Environment.h"
#include "translate/target/EmbeddedBrowserLibrary.h"
#include "tray/HistoryFile.h"
#include "tray/ProgramManager.h"
#include "tray/StartupRules.h"
#include "tray/win32/AboutDlg.h"
#include "tray/win32/ExitRequest.h"
#include "tray/win32/KeyboardHook.h"

namespace tray::win32 {
namespace {
std::optional<std::uint32_t> StoredCoordinate(const Settings& settings, const char16_t* name)
{
    std::uint32_t value = 0;
    if (!settings.key.GetDWORD(name, value))
        return std::nullopt;
    return value;
}

// In the middle of the work area of the nearest monitor, and wholly inside it where it fits.
void CentreOnWorkArea(HWND window)
{
    RECT bounds{};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!::GetWindowRect(window, &bounds) ||
        !::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    const RECT& work = monitor.rcWork;
    const LONG width = bounds.right - bounds.left;
    const LONG height = bounds.bottom - bounds.top;
    LONG left = work.left + (work.right - work.left - width) / 2;
    LONG top = work.top + (work.bottom - work.top - height) / 2;
    if (left + width > work.right)
        left = work.right - width;
    if (top + height > work.bottom)
        top = work.bottom - height;
    if (left < work.left)
        left = work.left;
    if (top < work.top)
        top = work.top;
    ::SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

MainDialogTexts ControllerTexts()
{
    return LoadMainDialogTexts([](const char*, unsigned id) { return LoadResourceString(id); });
}
}  // namespace

CMainDlg::CMainDlg()
    : m_historySaver(HistoryFilePath()),
      m_controller(*this, m_settings, ProgramManager(), ControllerTexts(), LoadKeptHistory(m_historySaver))
{
    BindEmbeddedBrowserLibrary();
}

CMainDlg::~CMainDlg()
{
    RemoveIcon();
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
}

bool CMainDlg::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    result = 0;
    if (message == ExitRequestMessage()) {
        OnExit();
        return true;
    }
    switch (message) {
        case WM_DESTROY:
            OnDestroy();
            return true;
        case WM_SIZE:
            if (wParam == SIZE_MINIMIZED && ::IsWindowVisible(m_hWnd)) {
                ::ShowWindow(m_hWnd, SW_HIDE);
                return true;
            }
            return false;
        case WM_CLOSE:
            OnClose();
            return true;
        case WM_INITDIALOG:
            OnInitDialog();
            result = TRUE;  // the system gives the default control the focus
            return true;
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam), HIWORD(wParam));
        case WM_TRANSLATE_HOTKEY:
            OnTranslateHotKey(static_cast<UINT>(wParam));
            return true;
        default:
            return ProcessTrayMessage(message, wParam, lParam, result);
    }
}

bool CMainDlg::OnCommand(UINT id, UINT code)
{
    constexpr UINT kMenu = 0;  // the notification code of a menu command
    std::size_t data = 0;
    switch (id) {
        case IDOK:
            m_controller.OnTranslate();
            return true;
        case IDCANCEL:
            OnClose();
            return true;
        case ID_OPEN_VOCABRA:
            ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
            return true;
        case ID_APP_ABOUT:
            ShowAboutBox();
            return true;
        case ID_APP_EXIT:
            OnExit();
            return true;
        case IDC_DIRECTIONS:
            if (code != CBN_SELCHANGE)
                return false;
            if (SelectedItemData(m_directionCombo, false, data))
                m_controller.OnDirectionChosen(data);
            return true;
        case IDC_DICTIONARIES:
            if (code != CBN_SELCHANGE)
                return false;
            if (SelectedItemData(m_dictionaryCombo, true, data))
                m_controller.OnServiceChosen(data);
            return true;
        case IDC_OPEN_IN_BROWSER:
            if (code != BN_CLICKED)
                return false;
            m_controller.OnOpenInBrowserChecked(::IsDlgButtonChecked(m_hWnd, IDC_OPEN_IN_BROWSER) == BST_CHECKED);
            return true;
        default:
            break;
    }
    return code == kMenu && m_controller.OnMenuCommand(id);
}

void CMainDlg::OnInitDialog()
{
    if (ShowWord(std::u16string())) {
        if (!m_directionCombo)
            m_directionCombo = ::GetDlgItem(m_hWnd, IDC_DIRECTIONS);
        if (!m_dictionaryCombo)
            m_dictionaryCombo = ::GetDlgItem(m_hWnd, IDC_DICTIONARIES);
    } else {
        ::MessageBeep(0xFFFFFFFF);
        ::SetFocus(::GetDlgItem(m_hWnd, IDC_WORD));
    }

    PlaceWindow();

    m_bigIcon.Reset(LoadProgramIcon(IDR_MAINFRAME, ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON)));
    m_smallIcon.Reset(LoadProgramIcon(IDR_MAINFRAME, ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON)));
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_bigIcon.Get()));
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon.Get()));

    if (CMessageLoop* loop = CMessageLoop::ForCurrentThread()) {
        loop->AddMessageFilter(this);
        loop->AddIdleHandler(this);
    }

    InstallIcon(IDR_MAINFRAME);
    m_defaultCommand = ID_OPEN_VOCABRA;

    m_wordSuggestions.Attach(::GetDlgItem(m_hWnd, IDC_WORD));
    // Without a usable manager the dialog still runs: empty lists, and translations fail quietly.
    LoadServiceIcons();
    m_controller.Start();
}

void CMainDlg::PlaceWindow()
{
    const DialogPlacement placement =
        PlaceDialog(StoredCoordinate(m_settings, u"window_x"), StoredCoordinate(m_settings, u"window_y"),
                    static_cast<std::uint32_t>(::GetSystemMetrics(SM_CXSCREEN)),
                    static_cast<std::uint32_t>(::GetSystemMetrics(SM_CYSCREEN)));
    if (placement.centre)
        CentreOnWorkArea(m_hWnd);
    else
        ::SetWindowPos(m_hWnd, nullptr, placement.x, placement.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CMainDlg::PreTranslateMessage(MSG& message)
{
    // Esc over the word box's open drop-down is the drop-down's: the dialog would take it as
    // Cancel and hide, leaving the drop-down on the screen.
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE && m_wordSuggestions.IsDroppedDown())
        return false;
    return m_hWnd && ::IsDialogMessageW(m_hWnd, &message);
}

bool CMainDlg::OnIdle()
{
    return false;
}

void CMainDlg::OnClose()
{
    // Open browser windows keep the dialog merely hidden; otherwise it is minimised, which its
    // WM_SIZE handler turns into hiding. The program runs on either way.
    if (!m_openTargets.empty())
        ::ShowWindow(m_hWnd, SW_HIDE);
    else
        ::SendMessageW(m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void CMainDlg::OnDestroy()
{
    m_controller.Stop();
    RECT bounds{};
    if (::GetWindowRect(m_hWnd, &bounds) && ShouldStorePosition(bounds.left, bounds.top)) {
        m_settings.key.SetDWORD(u"window_x", static_cast<std::uint32_t>(bounds.left));
        m_settings.key.SetDWORD(u"window_y", static_cast<std::uint32_t>(bounds.top));
    }
    RemoveKeyboardHook();
    DisposeOpenTargets();
    if (CMessageLoop* loop = CMessageLoop::ForCurrentThread()) {
        loop->RemoveMessageFilter(this);
        loop->RemoveIdleHandler(this);
    }
}

bool CMainDlg::ShowWord(const std::u16string& word)
{
    return ::SetDlgItemTextW(m_hWnd, IDC_WORD, Wide(word)) != FALSE;
}

std::u16string CMainDlg::Word() const
{
    const HWND edit = ::GetDlgItem(m_hWnd, IDC_WORD);
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
    return FromWide(text);
}

void CMainDlg::SetWord(const std::u16string& word)
{
    if (!ShowWord(word)) {
        ::MessageBeep(0xFFFFFFFF);
        ::SetFocus(::GetDlgItem(m_hWnd, IDC_WORD));
    }
}

void CMainDlg::ShowMessage(const std::u16string& text)
{
    ::MessageBoxW(m_hWnd, Wide(text), Wide(LoadResourceString(IDR_MAINFRAME)), MB_OK | MB_ICONWARNING);
}

}  // namespace tray::win32
