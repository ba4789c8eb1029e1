// The frame around the control: our window, which has no menus, tool bars or status bar to share.
// It keeps the control's active object, through which the page takes its keys.
#include "browserwindow/BrowserHost.h"

namespace browserwindow {

HRESULT BrowserHost::Frame::QueryInterface(REFIID riid, void** object)
{
    return m_host.QueryInterface(riid, object);
}

HRESULT BrowserHost::Frame::GetWindow(HWND* window)
{
    if (!window)
        return E_POINTER;
    *window = m_host.m_window;
    return *window ? S_OK : E_FAIL;
}

HRESULT BrowserHost::Frame::ContextSensitiveHelp(BOOL)
{
    return E_NOTIMPL;
}

HRESULT BrowserHost::Frame::GetBorder(LPRECT)
{
    return INPLACE_E_NOTOOLSPACE;
}

HRESULT BrowserHost::Frame::RequestBorderSpace(LPCBORDERWIDTHS)
{
    return INPLACE_E_NOTOOLSPACE;
}

HRESULT BrowserHost::Frame::SetBorderSpace(LPCBORDERWIDTHS)
{
    return INPLACE_E_NOTOOLSPACE;
}

HRESULT BrowserHost::Frame::SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR)
{
    // A host that has been closed keeps nothing: the object holds the host in turn.
    m_host.m_activeObject = m_host.m_window ? object : nullptr;
    return S_OK;
}

HRESULT BrowserHost::Frame::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS)
{
    return E_NOTIMPL;
}

HRESULT BrowserHost::Frame::SetMenu(HMENU, HOLEMENU, HWND)
{
    return S_OK;
}

HRESULT BrowserHost::Frame::RemoveMenus(HMENU)
{
    return E_NOTIMPL;
}

HRESULT BrowserHost::Frame::SetStatusText(LPCOLESTR)
{
    return S_OK;
}

HRESULT BrowserHost::Frame::EnableModeless(BOOL)
{
    return S_OK;
}

HRESULT BrowserHost::Frame::TranslateAccelerator(LPMSG, WORD)
{
    return S_FALSE;
}

}  // namespace browserwindow
