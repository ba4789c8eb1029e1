#pragma once
// The tray icon of a window class T (T has m_hWnd): the icon from T's resources, its menu on a
// right click, the default command on a double click, and the icon added again when Explorer
// restarts. T forwards its messages to ProcessTrayMessage.

#include <windows.h>

#include "tray/win32/Resources.h"
#include "tray/win32/TrayIcon.h"
#include "tray/win32/UiHandles.h"

namespace tray::win32 {

constexpr UINT WM_TRAYICON = 1559;

template <class T>
class CTrayIconImpl : public CTrayIcon {
public:
    // Called with the menu's popup just before it is shown or searched for its first command.
    virtual void PrepareMenu(HMENU /*menu*/) {}

protected:
    // Icon, menu and tip string share the id.
    bool InstallIcon(UINT id)
    {
        m_iconId = id;
        // Shared: the system owns the icon loaded by id, so nobody must destroy it.
        const HICON icon = ::LoadIconW(ModuleInstance(), MAKEINTRESOURCEW(id));
        const std::wstring tip = LoadWideString(id);
        return AddIcon(Owner(), id, WM_TRAYICON, icon, tip.c_str());
    }

    bool ProcessTrayMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
    {
        if (message == WM_TRAYICON) {
            OnTrayIcon(static_cast<UINT>(wParam), static_cast<UINT>(lParam));
            result = 0;
            return true;
        }
        const UINT taskbarCreated = TaskbarCreatedMessage();
        if (taskbarCreated != 0 && message == taskbarCreated) {
            RestoreIcon();
            result = 0;
            return true;
        }
        return false;
    }

    // The menu's default item and the double click's command; 0: the menu's first item.
    UINT m_defaultCommand = 0;

private:
    HWND Owner() const { return static_cast<const T*>(this)->m_hWnd; }

    // Broadcast by the shell when its task bar is (re)created, after which it knows no icons.
    static UINT TaskbarCreatedMessage()
    {
        static const UINT message = ::RegisterWindowMessageW(L"TaskbarCreated");
        return message;
    }

    void OnTrayIcon(UINT id, UINT mouseMessage)
    {
        if (id != m_iconId)
            return;
        if (mouseMessage == WM_RBUTTONUP)
            ShowMenu();
        else if (mouseMessage == WM_LBUTTONDBLCLK)
            RunDefaultCommand();
    }

    void ShowMenu()
    {
        // Loaded afresh every time, so that PrepareMenu's insertions never pile up.
        MenuHandle menu(LoadLocalizedMenu(m_iconId));
        const HMENU popup = menu ? ::GetSubMenu(menu.Get(), 0) : nullptr;
        if (!popup)
            return;
        PrepareMenu(popup);

        POINT cursor{};
        ::GetCursorPos(&cursor);
        // Without the foreground the menu would not close when the user clicks elsewhere.
        ::SetForegroundWindow(Owner());
        if (m_defaultCommand != 0)
            ::SetMenuDefaultItem(popup, m_defaultCommand, FALSE);
        else
            ::SetMenuDefaultItem(popup, 0, TRUE);
        cursor.x = OnNearestMonitor(cursor);
        ::TrackPopupMenu(popup, 0, cursor.x, cursor.y, 0, Owner(), nullptr);
        ::PostMessageW(Owner(), WM_NULL, 0, 0);
    }

    // A task bar left on a removed monitor reports points outside every monitor: bring x into
    // the nearest monitor's work area (y stays).
    static LONG OnNearestMonitor(POINT point)
    {
        if (::MonitorFromPoint(point, MONITOR_DEFAULTTONULL))
            return point.x;
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (!::GetMonitorInfoW(::MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), &info))
            return point.x;
        if (point.x < info.rcWork.left)
            return info.rcWork.left;
        if (point.x > info.rcWork.right)
            return info.rcWork.right;
        return point.x;
    }

    void RunDefaultCommand()
    {
        ::SetForegroundWindow(Owner());
        UINT command = m_defaultCommand;
        if (command == 0) {
            MenuHandle menu(LoadLocalizedMenu(m_iconId));
            const HMENU popup = menu ? ::GetSubMenu(menu.Get(), 0) : nullptr;
            if (!popup)
                return;
            PrepareMenu(popup);
            command = ::GetMenuItemID(popup, 0);
        }
        ::SendMessageW(Owner(), WM_COMMAND, command, 0);
    }

    UINT m_iconId = 0;
};

}  // namespace tray::win32
