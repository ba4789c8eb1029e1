// The control's site: it lives in our window and is never saved or linked.
#include "browserwindow/BrowserHost.h"

namespace browserwindow {

HRESULT BrowserHost::ClientSite::QueryInterface(REFIID riid, void** object)
{
    return m_host.QueryInterface(riid, object);
}

HRESULT BrowserHost::ClientSite::SaveObject()
{
    return E_NOTIMPL;
}

HRESULT BrowserHost::ClientSite::GetMoniker(DWORD, DWORD, IMoniker** moniker)
{
    if (moniker)
        *moniker = nullptr;
    return E_NOTIMPL;
}

HRESULT BrowserHost::ClientSite::GetContainer(IOleContainer** container)
{
    if (container)
        *container = nullptr;
    return E_NOINTERFACE;
}

HRESULT BrowserHost::ClientSite::ShowObject()
{
    return S_OK;
}

HRESULT BrowserHost::ClientSite::OnShowWindow(BOOL)
{
    return S_OK;
}

HRESULT BrowserHost::ClientSite::RequestNewObjectLayout()
{
    return E_NOTIMPL;
}

}  // namespace browserwindow
