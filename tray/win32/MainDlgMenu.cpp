// The tray menu of the main dialog: its dictionary items, check marks and its own commands.
#include "tray/win32/KeyboardHook.h"
#include "tray/win32/MainDlg.h"
#include "tray/win32/MenuBuilder.h"

namespace tray::win32 {
namespace {
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
void InsertDictionaryItems(HMENU menu, UINT position, const DictionaryMenu& items)
{
    ::InsertMenuW(menu, position, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    InsertMenuItems(menu, position, items.items);
    // By command: the first item found is the favourite one when the direction is a favourite.
    if (items.checkedCommand)
        CheckCommand(menu, *items.checkedCommand, true);
}
}  // namespace

void CMainDlg::PrepareMenu(HMENU menu)
{
    const TrayMenuState state = m_controller.MenuState();
    const int anchor = FirstSeparator(menu);
    // No manager: the menu keeps its own items.
    if (anchor >= 0 && state.dictionary)
        InsertDictionaryItems(menu, static_cast<UINT>(anchor + 1), *state.dictionary);
    CheckCommand(menu, ID_USE_CTRL_INS_INS, state.ctrlInsIns);
    CheckCommand(menu, ID_USE_CTRL_C_C, state.ctrlCC);
}

bool CMainDlg::WatchHotKeys(bool wanted)
{
    if (!wanted)
        RemoveKeyboardHook();
    else if (!IsKeyboardHookInstalled())
        InstallKeyboardHook(m_hWnd, WM_TRANSLATE_HOTKEY);
    return IsKeyboardHookInstalled();
}

void CMainDlg::OnExit()
{
    m_controller.Stop();
    RemoveIcon();
    ::SetTimer(nullptr, 0, kExitDetachBudgetMs, &EndWaitsForExit);
    ::DestroyWindow(m_hWnd);
    ::PostQuitMessage(0);
}

}  // namespace tray::win32
