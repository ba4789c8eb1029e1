// The "dialog" display: a dialog class of the dialog server shows the request in a window of its
// own, or in the embedded target's browser.

#include "translate/target/BrowserAutomation_win32.h"

#include "foundation/process/ProcessSnapshot.h"
#include "foundation/win32api/WideChar_win32.h"
#include "translate/manager/TranslateException.h"
#include "foundation/win32api/ComValues_win32.h"
#include "translate/target/ClassId_win32.h"
#include "translate/target/DictionaryDialog_win32.h"

using Microsoft::WRL::ComPtr;
using Win32::API::Bstr;
using Win32::API::Variant;

namespace translate::target {
namespace {
constexpr wchar_t kDialogServerExe[] = L"VocabraHelper.exe";

// A server that is already running may bring its window to the front; one still starting has
// not shown up in the process list and does without.
void LetDialogServerTakeForeground()
{
    for (ProcessSnapshot snapshot; snapshot.Valid(); snapshot.Next()) {
        const std::u16string& name = snapshot.ExeFile();
        if (::CompareStringOrdinal(Win32::API::Wide(name.c_str()), static_cast<int>(name.size()), kDialogServerExe, -1,
                                   TRUE) == CSTR_EQUAL) {
            ::AllowSetForegroundWindow(snapshot.ProcessId());
            return;
        }
    }
}

// An [in] VARIANT that borrows its value from an owner that outlives the call.
VARIANT BorrowedString(const Bstr& text)
{
    VARIANT value;
    ::VariantInit(&value);
    value.vt = VT_BSTR;
    value.bstrVal = text.Get();
    return value;
}

HRESULT InvokeByName(IDispatch* handler, const Bstr& url, const Bstr& direction, const Variant& browser)
{
    LPOLESTR names[] = {const_cast<LPOLESTR>(L"ShowDictionaryDialog")};
    DISPID dispid = DISPID_UNKNOWN;
    HRESULT hr = handler->GetIDsOfNames(IID_NULL, names, 1, LOCALE_SYSTEM_DEFAULT, &dispid);
    if (FAILED(hr))
        return hr;
    // Positional arguments travel last to first.
    VARIANT arguments[] = {browser.Value(), BorrowedString(direction), BorrowedString(url)};
    DISPPARAMS parameters{arguments, nullptr, 3, 0};
    return handler->Invoke(dispid, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_METHOD, &parameters, nullptr, nullptr,
                           nullptr);
}
}  // namespace

void ShowDialog(const std::u16string& url, const Direction& direction, Target* target, const ClassId& dialogClsid)
{
    IWebBrowser2* browser = (target && target->IsEmbedded()) ? target->GetBrowser() : nullptr;

    ComPtr<IDispatch> handler;
    if (FAILED(::CoCreateInstance(ToClsid(dialogClsid), nullptr, CLSCTX_ALL, IID_PPV_ARGS(handler.GetAddressOf()))))
        throw TranslateException(u"Cannot create dialog handler");
    if (target)
        target->SetDialogHandler(handler.Get());

    LetDialogServerTakeForeground();

    const Bstr bsUrl(url);
    const Bstr bsDirection(direction);
    const Variant vtForceBrowser(browser);

    ComPtr<IDictionaryDialog> dialog;
    HRESULT hr;
    if (SUCCEEDED(handler->QueryInterface(kIidDictionaryDialog, reinterpret_cast<void**>(dialog.GetAddressOf()))))
        hr = dialog->ShowDictionaryDialog(bsUrl.Get(), bsDirection.Get(), vtForceBrowser.Value());
    else
        hr = InvokeByName(handler.Get(), bsUrl, bsDirection, vtForceBrowser);
    if (FAILED(hr))
        throw TranslateException(u"Cannot show dialog");
}

}  // namespace translate::target
