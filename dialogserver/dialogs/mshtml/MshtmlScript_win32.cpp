#include <deque>
#include <vector>

#include "dialogserver/dialogs/mshtml/ComScriptObject_win32.h"
#include "dialogserver/dialogs/mshtml/MshtmlDom_win32.h"
#include "foundation/win32api/ComValues_win32.h"

using Microsoft::WRL::ComPtr;
using Win32::API::Bstr;
using Win32::API::Variant;

namespace dialogserver::mshtml {
namespace {

// Names and calls of page scripts use the system default locale.
constexpr LCID kScriptLocale = LOCALE_SYSTEM_DEFAULT;

// The arguments of one dispatch call: owned here, laid out last first as DISPPARAMS expects.
class DispatchArguments {
public:
    // False when an argument is an object that is not a COM object.
    bool Set(const std::vector<dom::ScriptArgument>& arguments)
    {
        for (auto argument = arguments.rbegin(); argument != arguments.rend(); ++argument) {
            if (const auto* text = std::get_if<std::u16string>(&*argument)) {
                m_owned.emplace_back(std::u16string_view{*text});
            } else if (const auto* number = std::get_if<double>(&*argument)) {
                m_owned.emplace_back(*number);
            } else {
                IDispatch* object = DispatchOf(std::get<dom::ScriptObjectPtr>(*argument).get());
                if (!object)
                    return false;
                m_owned.emplace_back(object);
            }
            m_values.push_back(m_owned.back().Value());  // a view: the owner frees it
        }
        return true;
    }

    DISPPARAMS* Parameters()
    {
        m_parameters = {m_values.data(), nullptr, static_cast<UINT>(m_values.size()), 0};
        return &m_parameters;
    }

private:
    std::deque<Variant> m_owned;  // never moves its elements
    std::vector<VARIANT> m_values;
    DISPPARAMS m_parameters = {};
};

class WindowFunction final : public dom::ScriptFunction {
public:
    explicit WindowFunction(ComPtr<IDispatch> function) : m_function(std::move(function)) {}

    bool Call(const std::vector<dom::ScriptArgument>& arguments) override
    {
        DispatchArguments values;
        if (!values.Set(arguments))
            return false;
        Variant result;
        return SUCCEEDED(m_function->Invoke(DISPID_VALUE, IID_NULL, kScriptLocale, DISPATCH_METHOD, values.Parameters(),
                                            result.Receive(), nullptr, nullptr));
    }

private:
    ComPtr<IDispatch> m_function;
};

}  // namespace

ComPtr<IDispatch> ObjectProperty(IDispatch* object, std::u16string_view name, LCID locale)
{
    if (!object)
        return nullptr;
    Bstr member(name);
    LPOLESTR names[] = {member.Get()};
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, locale, &id)))
        return nullptr;
    DISPPARAMS none = {};
    Variant property;
    if (FAILED(
            object->Invoke(id, IID_NULL, locale, DISPATCH_PROPERTYGET, &none, property.Receive(), nullptr, nullptr)) ||
        property.Value().vt != VT_DISPATCH || !property.Value().pdispVal)
        return nullptr;
    return ComPtr<IDispatch>(property.Value().pdispVal);
}

std::unique_ptr<dom::ScriptFunction> FindWindowFunction(IDispatch* window, std::u16string_view name)
{
    ComPtr<IDispatch> function = ObjectProperty(window, name, kScriptLocale);
    if (!function)
        return nullptr;
    return std::make_unique<WindowFunction>(std::move(function));
}

}  // namespace dialogserver::mshtml
