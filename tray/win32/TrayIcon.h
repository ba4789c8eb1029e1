#pragma once
// The program's icon in the notification area: one NOTIFYICONDATAW record, added once, changed
// in place, removed at the end (and at the latest when this object goes). The record outlives a
// failed addition: at a logon the program may start before the shell's task bar exists, and the
// shell's "TaskbarCreated" announcement then adds the icon as it was last set.

#include <windows.h>

#include <shellapi.h>

namespace tray::win32 {

class CTrayIcon {
public:
    // Shell_NotifyIconW, or a stand-in that tests give.
    using NotifyFunction = BOOL(WINAPI*)(DWORD message, PNOTIFYICONDATAW data);

    explicit CTrayIcon(NotifyFunction notify = &::Shell_NotifyIconW);
    virtual ~CTrayIcon();
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    // NIM_ADD. A zero message, a null icon or a null tip leaves that part out. On failure the
    // record is kept for RestoreIcon, and false returned.
    bool AddIcon(HWND owner, UINT id, UINT callbackMessage, HICON icon, const wchar_t* tip);
    // NIM_MODIFY; the record changes even while the shell shows no icon.
    bool ChangeIcon(HICON icon);
    bool ChangeTip(const wchar_t* tip);
    // NIM_DELETE; the record is reset when the shell removed the icon.
    bool RemoveIcon();
    // Adds the icon as it was last set: the shell's task bar is new and knows no icons (it has
    // restarted, or it did not exist yet when AddIcon ran).
    bool RestoreIcon();

private:
    void Reset();
    void SetIcon(HICON icon);
    void SetTip(const wchar_t* tip);

    NotifyFunction m_notify;
    NOTIFYICONDATAW m_data;
};

}  // namespace tray::win32
