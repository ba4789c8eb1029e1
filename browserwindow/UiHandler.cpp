// How the document shows itself: without a 3-D border; everything else, scroll bars included, as
// the browser does it by default.
#include "browserwindow/BrowserHost.h"

namespace browserwindow {

HRESULT BrowserHost::UiHandler::QueryInterface(REFIID riid, void** object)
{
    return m_host.QueryInterface(riid, object);
}

HRESULT BrowserHost::UiHandler::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*)
{
    return S_FALSE;  // the browser's own menu
}

HRESULT BrowserHost::UiHandler::GetHostInfo(DOCHOSTUIINFO* info)
{
    if (!info || info->cbSize < sizeof(DOCHOSTUIINFO))
        return E_INVALIDARG;
    // A dictionary's answer is often longer than the window, and must be read to its end; a page
    // that wants no scroll bars sets its own overflow.
    info->dwFlags = DOCHOSTUIFLAG_NO3DBORDER;
    info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    info->pchHostCss = nullptr;
    info->pchHostNS = nullptr;
    return S_OK;
}

HRESULT BrowserHost::UiHandler::ShowUI(DWORD,
                                       IOleInPlaceActiveObject*,
                                       IOleCommandTarget*,
                                       IOleInPlaceFrame*,
                                       IOleInPlaceUIWindow*)
{
    return S_FALSE;  // the browser shows its own
}

HRESULT BrowserHost::UiHandler::HideUI()
{
    return S_OK;
}

HRESULT BrowserHost::UiHandler::UpdateUI()
{
    return S_OK;
}

HRESULT BrowserHost::UiHandler::EnableModeless(BOOL)
{
    return S_OK;
}

HRESULT BrowserHost::UiHandler::OnDocWindowActivate(BOOL)
{
    return S_OK;
}

HRESULT BrowserHost::UiHandler::OnFrameWindowActivate(BOOL)
{
    return S_OK;
}

HRESULT BrowserHost::UiHandler::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL)
{
    return S_OK;
}

HRESULT BrowserHost::UiHandler::TranslateAccelerator(LPMSG, const GUID*, DWORD)
{
    return S_FALSE;
}

HRESULT BrowserHost::UiHandler::GetOptionKeyPath(LPOLESTR* key, DWORD)
{
    if (key)
        *key = nullptr;
    return S_FALSE;
}

HRESULT BrowserHost::UiHandler::GetDropTarget(IDropTarget*, IDropTarget** replacement)
{
    if (replacement)
        *replacement = nullptr;
    return E_NOTIMPL;
}

HRESULT BrowserHost::UiHandler::GetExternal(IDispatch** external)
{
    if (external)
        *external = nullptr;
    return S_FALSE;
}

HRESULT BrowserHost::UiHandler::TranslateUrl(DWORD, LPWSTR, LPWSTR* translated)
{
    if (translated)
        *translated = nullptr;
    return S_FALSE;
}

HRESULT BrowserHost::UiHandler::FilterDataObject(IDataObject*, IDataObject** replacement)
{
    if (replacement)
        *replacement = nullptr;
    return S_FALSE;
}

}  // namespace browserwindow
