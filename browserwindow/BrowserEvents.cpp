// The browser's events, of which the window needs one: a document has finished loading.
#include <exdispid.h>

#include "browserwindow/BrowserHost.h"

namespace browserwindow {

HRESULT BrowserHost::Events::QueryInterface(REFIID riid, void** object)
{
    return m_host.QueryInterface(riid, object);
}

HRESULT BrowserHost::Events::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT BrowserHost::Events::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}

HRESULT BrowserHost::Events::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}

HRESULT BrowserHost::Events::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT*, EXCEPINFO*,
                                    UINT*)
{
    // DocumentComplete(pDisp, URL): the arguments travel last to first, so pDisp is the last.
    if (id != DISPID_DOCUMENTCOMPLETE || !parameters || parameters->cArgs != 2)
        return S_OK;
    const VARIANT& browser = parameters->rgvarg[1];
    if (browser.vt == VT_DISPATCH)
        m_host.OnDocumentComplete(browser.pdispVal);
    return S_OK;
}

}  // namespace browserwindow
