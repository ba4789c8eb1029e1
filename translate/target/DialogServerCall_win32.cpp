// The "dialog" display: a dialog class of the dialog server shows the request in a window of its
// own, or in the embedded target's browser.

#include "translate/target/DialogServerCall_win32.h"

#include <exdisp.h>
#include <wrl/client.h>

#include <memory>
#include <mutex>

#include "foundation/process/ProcessSnapshot.h"
#include "foundation/threads/PumpingWait_win32.h"
#include "foundation/win32api/ComValues_win32.h"
#include "foundation/win32api/WideChar_win32.h"
#include "translate/manager/TranslateException.h"
#include "translate/target/ClassId_win32.h"
#include "translate/target/DictionaryDialog_win32.h"
#include "translate/target/ServerDialogHandler_win32.h"

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

HRESULT ShowByName(IDispatch* handler, const Bstr& url, const Bstr& direction, const Variant& browser)
{
    VARIANT arguments[] = {browser.Value(), BorrowedString(direction), BorrowedString(url)};
    DISPPARAMS parameters{arguments, nullptr, 3, 0};
    return InvokeByName(handler, L"ShowDictionaryDialog", parameters);
}

// A class served in this process (a host's own, or a test's) is called on this thread, early
// bound where it can be.
void ShowInProcess(IDispatch* handler,
                   const std::u16string& url,
                   const Direction& direction,
                   Target* target,
                   IWebBrowser2* browser)
{
    if (target)
        target->SetDialogHandler(handler);
    const Bstr bsUrl(url);
    const Bstr bsDirection(direction);
    const Variant vtForceBrowser(browser);
    ComPtr<IDictionaryDialog> dialog;
    HRESULT hr;
    if (SUCCEEDED(handler->QueryInterface(kIidDictionaryDialog, reinterpret_cast<void**>(dialog.GetAddressOf()))))
        hr = dialog->ShowDictionaryDialog(bsUrl.Get(), bsDirection.Get(), vtForceBrowser.Value());
    else
        hr = ShowByName(handler, bsUrl, bsDirection, vtForceBrowser);
    if (FAILED(hr))
        throw TranslateException(u"Cannot show dialog");
}

// What the call to the dialog server shares with the thread that makes it; that thread may
// outlive the wait for it.
struct ServerCall {
    CLSID clsid{};
    std::u16string url;
    std::u16string direction;
    ComPtr<IStream> browser;  // the caller's browser, marshalled for the calling thread
    HRESULT created = E_FAIL;
    HRESULT shown = E_FAIL;

    // The dialog object, marshalled back once the call is over, unless the caller has given up
    // waiting: marshalled data nobody takes would keep the object, and its server, alive.
    std::mutex lock;
    bool abandoned = false;
    ComPtr<IStream> handler;
};

// On a thread of its own (multithreaded apartment): the server's object, and the call by name
// (a vtable interface has no proxy across processes).
bool CallServer(ServerCall& call)
{
    ComPtr<IWebBrowser2> browser;
    if (call.browser)
        ::CoGetInterfaceAndReleaseStream(call.browser.Detach(), IID_PPV_ARGS(browser.GetAddressOf()));
    ComPtr<IDispatch> handler;
    call.created = ::CoCreateInstance(call.clsid, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER,
                                      IID_PPV_ARGS(handler.GetAddressOf()));
    if (FAILED(call.created))
        return false;
    LetDialogServerTakeForeground();
    call.shown = ShowByName(handler.Get(), Bstr(call.url), Bstr(call.direction), Variant(browser.Get()));
    const std::lock_guard<std::mutex> hold(call.lock);
    if (!call.abandoned)
        ::CoMarshalInterThreadInterfaceInStream(IID_IDispatch, handler.Get(), call.handler.GetAddressOf());
    return SUCCEEDED(call.shown);
}

// A server that does not start, dies or hangs must not hold the tray program: the call runs on
// another thread while this one keeps answering, and is given up after kDialogCallLimit.
void ShowInServer(const CLSID& clsid,
                  const std::u16string& url,
                  const Direction& direction,
                  Target* target,
                  IWebBrowser2* browser)
{
    auto call = std::make_shared<ServerCall>();
    call->clsid = clsid;
    call->url = url;
    call->direction = direction;
    if (browser)
        ::CoMarshalInterThreadInterfaceInStream(IID_IWebBrowser2, browser, call->browser.GetAddressOf());
    // The messages dispatched meanwhile go through the caller's loop's filters, so that its
    // dialogs keep their keys.
    const threads::PumpedWork done = threads::RunWhilePumping([call] { return CallServer(*call); }, kDialogCallLimit,
                                                              threads::ThreadMessageFilter());
    if (done.end != threads::PumpedWork::End::Finished) {
        const std::lock_guard<std::mutex> hold(call->lock);
        call->abandoned = true;
        // Let go of on another thread: the server may be the reason for giving up.
        if (call->handler)
            AdoptServerDialogHandler(std::move(call->handler));
        throw TranslateException(u"Cannot show dialog");
    }
    if (call->handler) {
        // Kept marshalled: a proxy on this thread would wait for the server when released.
        const ComPtr<IDispatch> handler = AdoptServerDialogHandler(std::move(call->handler));
        if (target)
            target->SetDialogHandler(handler.Get());
    }
    if (FAILED(call->created))
        throw TranslateException(u"Cannot create dialog handler");
    if (FAILED(call->shown))
        throw TranslateException(u"Cannot show dialog");
}
}  // namespace

HRESULT InvokeByName(IDispatch* object, const wchar_t* name, DISPPARAMS& arguments)
{
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID dispid = DISPID_UNKNOWN;
    const HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_SYSTEM_DEFAULT, &dispid);
    if (FAILED(hr))
        return hr;
    return object->Invoke(dispid, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_METHOD, &arguments, nullptr, nullptr,
                          nullptr);
}

void ShowDialog(const std::u16string& url, const Direction& direction, Target* target, const ClassId& dialogClsid)
{
    IWebBrowser2* browser = (target && target->IsEmbedded()) ? target->GetBrowser() : nullptr;
    const CLSID clsid = ToClsid(dialogClsid);
    ComPtr<IDispatch> local;
    if (SUCCEEDED(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC, IID_PPV_ARGS(local.GetAddressOf())))) {
        LetDialogServerTakeForeground();
        ShowInProcess(local.Get(), url, direction, target, browser);
        return;
    }
    ShowInServer(clsid, url, direction, target, browser);
}

}  // namespace translate::target
