// The tray menu of the main dialog: its dictionary items, check marks and its own commands.
#include "foundation/config/Environment.h"
#include "translate/manager/DictionaryManager.h"
#include "translate/manager/TranslateException.h"
#include "tray/DictionaryChoices.h"
#include "tray/TrayTip.h"
#include "tray/UserSettings.h"
#include "tray/win32/KeyboardHook.h"
#include "tray/win32/MainDlg.h"
#include "tray/win32/MenuBuilder.h"

namespace tray::app {
namespace {
using translate::manager::DictionaryManager;

// Exit lets the dialog server let go of the open answer windows, but a server that does not
// answer keeps the program no longer than this, all windows together.
constexpr UINT kExitDetachBudgetMs = 1000;

void CALLBACK EndWaitsForExit(HWND, UINT, UINT_PTR, DWORD)
{
    // Every wait that pumps messages ends when the quit message comes.
    ::PostQuitMessage(0);
}

// Position of the first separator, or -1.
int FirstSeparator(HMENU menu)
{
    const int count = ::GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        if (::GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info) && (info.fType & MFT_SEPARATOR))
            return position;
    }
    return -1;
}

void CheckCommand(HMENU menu, UINT command, bool checked)
{
    ::CheckMenuItem(menu, command, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

// The favourites, "Other" and "Service" between the resource's separator and a new one after it.
void InsertDictionaryItems(HMENU menu, UINT position, DictionaryManager& manager, const Win32::API::RegKey& key,
                           const translate::Direction& current)
{
    ::InsertMenuW(menu, position, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);

    const DictionaryMenu items = MakeDictionaryMenu(
        manager, key, current,
        {LoadResourceString(IDS_OTHER_DIRECTIONS), LoadResourceString(IDS_SERVICES),
         LoadResourceString(IDS_OPEN_IN_BROWSER)});
    InsertMenuItems(menu, position, items.items);
    // By command: the first item found is the favourite one when the direction is a favourite.
    if (items.checkedCommand)
        CheckCommand(menu, *items.checkedCommand, true);
}
}  // namespace

void CMainDlg::PrepareMenu(HMENU menu)
{
    const int anchor = FirstSeparator(menu);
    if (anchor >= 0) {
        try {
            InsertDictionaryItems(menu, static_cast<UINT>(anchor + 1), DictionaryManager::GetInstance(), m_settings.key,
                                  GetCurrentDirection(m_settings.key));
        } catch (const translate::TranslateException&) {
            // No manager: the menu keeps its own items.
        }
    }
    CheckCommand(menu, ID_USE_CTRL_INS_INS, IsHotKeyOn(m_settings.key, u"useCtrlInsIns"));
    CheckCommand(menu, ID_USE_CTRL_C_C, IsHotKeyOn(m_settings.key, u"useCtrlCC"));
}

void CMainDlg::OnToggleHotKey(UINT command)
{
    ToggleHotKey(m_settings.key, command == ID_USE_CTRL_INS_INS ? u"useCtrlInsIns" : u"useCtrlCC");
    UpdateKeyboardHook();
}

void CMainDlg::UpdateKeyboardHook()
{
    const bool wanted = !AreBothHotKeysOff(m_settings.key);
    if (!wanted)
        RemoveKeyboardHook();
    else if (!IsKeyboardHookInstalled())
        InstallKeyboardHook(m_hWnd, WM_TRANSLATE_HOTKEY);
    const bool off = wanted && !IsKeyboardHookInstalled();
    if (off != m_hotKeysOff) {
        m_hotKeysOff = off;
        ShowTip();
    }
}

void CMainDlg::ShowTip()
{
    ChangeTip(Wide(TrayTipText(m_serviceTip, m_hotKeysOff, LoadResourceString(IDS_HOT_KEYS_OFF))));
}

void CMainDlg::OnExit()
{
    RemoveIcon();
    ::SetTimer(nullptr, 0, kExitDetachBudgetMs, &EndWaitsForExit);
    ::DestroyWindow(m_hWnd);
    ::PostQuitMessage(0);
}

}  // namespace tray::app
