#include "browserwindow/DocumentTitle.h"

#include <exdisp.h>
#include <wrl/client.h>

#include "foundation/win32api/ComValues_win32.h"

using Microsoft::WRL::ComPtr;

namespace browserwindow {

bool IsSameObject(IUnknown* first, IUnknown* second)
{
    if (!first || !second)
        return false;
    ComPtr<IUnknown> firstIdentity;
    ComPtr<IUnknown> secondIdentity;
    return SUCCEEDED(first->QueryInterface(IID_PPV_ARGS(firstIdentity.GetAddressOf()))) &&
           SUCCEEDED(second->QueryInterface(IID_PPV_ARGS(secondIdentity.GetAddressOf()))) &&
           firstIdentity.Get() == secondIdentity.Get();  // MinGW's ComPtr has no ==: it would compare truth values
}

bool ReadTitle(IDispatch* document, std::wstring& title)
{
    if (!document)
        return false;
    LPOLESTR name = const_cast<LPOLESTR>(L"title");
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(document->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id)))
        return false;
    DISPPARAMS none{};
    Win32::API::Variant value;
    if (FAILED(document->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, value.Receive(),
                                nullptr, nullptr)) ||
        value.Value().vt != VT_BSTR)
        return false;
    title = Win32::API::ToWide(Win32::API::Bstr::Text(value.Value().bstrVal));
    return true;
}

void ShowDocumentTitle(HWND window, IDispatch* completed, IUnknown* windowBrowser)
{
    if (!window || !IsSameObject(completed, windowBrowser))
        return;
    ComPtr<IWebBrowser2> browser;
    ComPtr<IDispatch> document;
    std::wstring title;
    if (SUCCEEDED(completed->QueryInterface(IID_PPV_ARGS(browser.GetAddressOf()))) &&
        SUCCEEDED(browser->get_Document(document.GetAddressOf())) && ReadTitle(document.Get(), title) && !title.empty())
        ::SetWindowTextW(window, title.c_str());
}

}  // namespace browserwindow
