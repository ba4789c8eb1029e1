#pragma once
// A COM object as the DOM interface's script object: what a page script gets as an argument or
// keeps as an event handler.

#include <windows.h>

#include <oaidl.h>
#include <wrl/client.h>

#include <functional>
#include <string_view>

#include "dialogserver/dialogs/dom/HtmlDom.h"

namespace dialogserver::mshtml {

class ComScriptObject final : public dom::ScriptObject {
public:
    explicit ComScriptObject(Microsoft::WRL::ComPtr<IDispatch> object) : m_object(std::move(object)) {}
    IDispatch* Get() const { return m_object.Get(); }

private:
    Microsoft::WRL::ComPtr<IDispatch> m_object;
};

// The object's IDispatch; null for a null object or one that is not a COM object.
IDispatch* DispatchOf(const dom::ScriptObject* object);

// An object of the class `progId` (every class context, asked for IDispatch); null when the
// class is unknown or cannot be created.
dom::ScriptObjectPtr CreateScriptObject(std::u16string_view progId);

// An event handler (IE::Automation::CSingleHtmlEvent) that runs `action` on every invocation and
// holds a counted reference on `owner`, the dialog object, while it lives.
dom::ScriptObjectPtr MakePageEventHandler(IUnknown* owner, std::function<void()> action);

}  // namespace dialogserver::mshtml
