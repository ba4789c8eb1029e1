// The browser's events, of which the window needs one: a document has finished loading.
#include <exdispid.h>

#include "browserwindow/BrowserHost.h"
#include "browserwindow/CaughtInLibrary.h"
#include "foundation/win32api/ComBoundary_win32.h"

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

HRESULT BrowserHost::Events::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT*, EXCEPINFO*, UINT*)
{
    // This object is the client site's IDispatch too, which the control asks for its ambient
    // properties: a member it does not know makes the control use its own defaults, where an empty
    // answer would stand for a value.
    if (id != DISPID_DOCUMENTCOMPLETE)
        return DISP_E_MEMBERNOTFOUND;
    // DocumentComplete(pDisp, URL): the arguments travel last to first, so pDisp is the last.
    if (!parameters || parameters->cArgs != 2)
        return DISP_E_BADPARAMCOUNT;
    const VARIANT& browser = parameters->rgvarg[1];
    if (browser.vt != VT_DISPATCH)
        return S_OK;
    return Win32::API::ComBoundary(
        "DocumentComplete in an answer window: ",
        [&] {
            m_host.OnDocumentComplete(browser.pdispVal);
            return S_OK;
        },
        ReportToDebugger{});
}

}  // namespace browserwindow
