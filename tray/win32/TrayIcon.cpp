#include "tray/win32/TrayIcon.h"

#include <cwchar>

namespace tray::win32 {

CTrayIcon::CTrayIcon(NotifyFunction notify) : m_notify(notify)
{
    Reset();
}

CTrayIcon::~CTrayIcon()
{
    RemoveIcon();
}

void CTrayIcon::Reset()
{
    m_data = NOTIFYICONDATAW{};
    // The record as far as the item GUID, without the balloon icon: what every shell since
    // Windows XP accepts.
    m_data.cbSize = NOTIFYICONDATAW_V3_SIZE;
}

void CTrayIcon::SetIcon(HICON icon)
{
    m_data.hIcon = icon;
    if (icon)
        m_data.uFlags |= NIF_ICON;
    else
        m_data.uFlags &= ~NIF_ICON;
}

void CTrayIcon::SetTip(const wchar_t* tip)
{
    if (tip) {
        m_data.uFlags |= NIF_TIP;
        constexpr std::size_t kTipLength = sizeof m_data.szTip / sizeof m_data.szTip[0];
        std::wcsncpy(m_data.szTip, tip, kTipLength - 1);
        m_data.szTip[kTipLength - 1] = L'\0';
    } else {
        m_data.uFlags &= ~NIF_TIP;
        m_data.szTip[0] = L'\0';
    }
}

bool CTrayIcon::AddIcon(HWND owner, UINT id, UINT callbackMessage, HICON icon, const wchar_t* tip)
{
    m_data.hWnd = owner;
    m_data.uID = id;
    m_data.uCallbackMessage = callbackMessage;
    if (callbackMessage)
        m_data.uFlags |= NIF_MESSAGE;
    else
        m_data.uFlags &= ~NIF_MESSAGE;
    SetIcon(icon);
    SetTip(tip);
    return m_notify(NIM_ADD, &m_data) != FALSE;
}

bool CTrayIcon::ChangeIcon(HICON icon)
{
    SetIcon(icon);
    return m_notify(NIM_MODIFY, &m_data) != FALSE;
}

bool CTrayIcon::ChangeTip(const wchar_t* tip)
{
    SetTip(tip);
    return m_notify(NIM_MODIFY, &m_data) != FALSE;
}

bool CTrayIcon::RemoveIcon()
{
    if (!m_data.hWnd || !m_notify(NIM_DELETE, &m_data))
        return false;
    Reset();
    return true;
}

bool CTrayIcon::RestoreIcon()
{
    return m_data.hWnd && m_notify(NIM_ADD, &m_data);
}

}  // namespace tray::win32
