#include "dialogserver/dialogs/mshtml/ComScriptObject_win32.h"

#include <memory>
#include <string>

#include "dialogserver/dialogs/mshtml/HtmlEvent_win32.h"
#include "foundation/win32api/WideChar_win32.h"

using Microsoft::WRL::ComPtr;

namespace dialogserver::mshtml {

IDispatch* DispatchOf(const dom::ScriptObject* object)
{
    const auto* comObject = dynamic_cast<const ComScriptObject*>(object);
    return comObject ? comObject->Get() : nullptr;
}

dom::ScriptObjectPtr CreateScriptObject(std::u16string_view progId)
{
    const std::u16string name(progId);
    CLSID clsid;
    ComPtr<IDispatch> object;
    if (FAILED(CLSIDFromProgID(Win32::API::Wide(name), &clsid)) ||
        FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&object))) || !object)
        return nullptr;
    return std::make_shared<ComScriptObject>(std::move(object));
}

dom::ScriptObjectPtr MakePageEventHandler(IUnknown* owner, std::function<void()> action)
{
    using Handler = IE::Automation::CSingleHtmlEvent<IUnknown>;
    return std::make_shared<ComScriptObject>(
        Handler::Create(owner, [action = std::move(action)](IUnknown&, VARIANT*) { action(); }));
}

}  // namespace dialogserver::mshtml
