#pragma once
// The program's icon in the notification area: one NOTIFYICONDATAW record, added once, changed
// in place, removed at the end (and at the latest when this object goes).

#include <windows.h>

#include <shellapi.h>

namespace tray::app {

class CTrayIcon {
public:
    CTrayIcon();
    virtual ~CTrayIcon();
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    // NIM_ADD; on failure the record is reset and false returned. A zero message, a null icon
    // or a null tip leaves that part out.
    bool AddIcon(HWND owner, UINT id, UINT callbackMessage, HICON icon, const wchar_t* tip);
    bool ChangeIcon(HICON icon);
    bool ChangeTip(const wchar_t* tip);
    // NIM_DELETE; the record is reset when the shell removed the icon.
    bool RemoveIcon();
    // Adds the icon again as it last was: the shell has restarted and forgotten it.
    bool RestoreIcon();

    bool IsAdded() const { return m_data.hWnd != nullptr; }

private:
    void Reset();
    void SetIcon(HICON icon);
    void SetTip(const wchar_t* tip);

    NOTIFYICONDATAW m_data;
};

}  // namespace tray::app
