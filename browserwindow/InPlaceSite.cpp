// Where the control is placed: the whole client area of our window, with our window as frame.
#include "browserwindow/BrowserHost.h"

namespace browserwindow {

HRESULT BrowserHost::InPlaceSite::QueryInterface(REFIID riid, void** object)
{
    return m_host.QueryInterface(riid, object);
}

HRESULT BrowserHost::InPlaceSite::GetWindow(HWND* window)
{
    if (!window)
        return E_POINTER;
    *window = m_host.m_window;
    return *window ? S_OK : E_FAIL;
}

HRESULT BrowserHost::InPlaceSite::ContextSensitiveHelp(BOOL)
{
    return E_NOTIMPL;
}

HRESULT BrowserHost::InPlaceSite::CanInPlaceActivate()
{
    return m_host.m_window ? S_OK : S_FALSE;
}

HRESULT BrowserHost::InPlaceSite::OnInPlaceActivate()
{
    return S_OK;
}

HRESULT BrowserHost::InPlaceSite::OnUIActivate()
{
    return S_OK;
}

HRESULT BrowserHost::InPlaceSite::GetWindowContext(IOleInPlaceFrame** frame,
                                                   IOleInPlaceUIWindow** document,
                                                   RECT* position,
                                                   RECT* clip,
                                                   OLEINPLACEFRAMEINFO* frameInfo)
{
    if (!frame || !document || !position || !clip || !frameInfo)
        return E_POINTER;
    *frame = &m_host.m_frame;
    m_host.AddRef();
    *document = nullptr;  // the frame is the document window too
    *position = m_host.ClientArea();
    *clip = *position;
    frameInfo->fMDIApp = FALSE;
    frameInfo->hwndFrame = m_host.m_window;
    frameInfo->haccel = nullptr;
    frameInfo->cAccelEntries = 0;
    return S_OK;
}

HRESULT BrowserHost::InPlaceSite::Scroll(SIZE)
{
    return E_NOTIMPL;
}

HRESULT BrowserHost::InPlaceSite::OnUIDeactivate(BOOL)
{
    return S_OK;
}

HRESULT BrowserHost::InPlaceSite::OnInPlaceDeactivate()
{
    return S_OK;
}

HRESULT BrowserHost::InPlaceSite::DiscardUndoState()
{
    return E_NOTIMPL;
}

HRESULT BrowserHost::InPlaceSite::DeactivateAndUndo()
{
    return E_NOTIMPL;
}

HRESULT BrowserHost::InPlaceSite::OnPosRectChange(LPCRECT)
{
    // The control asks for a place of its own; it keeps the whole client area.
    m_host.Resize();
    return S_OK;
}

}  // namespace browserwindow
