// The page scripts as the MSHTML adapter reaches them: a window's function looked up and called
// through IDispatch (against a recording window, since Wine has no HTML engine), and the request
// objects made by ProgID.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dialogserver/dialogs/mshtml/ComScriptObject_win32.h"
#include "dialogserver/dialogs/mshtml/MshtmlDom_win32.h"
#include "foundation/win32api/ComValues_win32.h"
#include "tests/wine/Adopt_win32.h"
#include "tests/wine/RefCounted_win32.h"

namespace {
using Microsoft::WRL::ComPtr;
using Win32::API::Bstr;
using wintest::Adopt;
namespace dom = dialogserver::dom;
namespace mshtml = dialogserver::mshtml;

constexpr LCID kSystemDefault = 0x0800;

// One dispatch call as an object received it.
struct Call {
    DISPID id;
    LCID locale;
    WORD flags;
    std::vector<VARIANTARG> arguments;  // copies, in the order received
};

class Recorder : public wintest::TRefCounted<IDispatch> {
public:
    ~Recorder() override
    {
        for (Call& call : calls) {
            for (VARIANTARG& argument : call.arguments)
                VariantClear(&argument);
        }
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (riid == IID_IUnknown || riid == IID_IDispatch) {
            *object = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }

    HRESULT Record(DISPID id, LCID locale, WORD flags, const DISPPARAMS* parameters)
    {
        Call call{id, locale, flags, {}};
        for (UINT i = 0; parameters && i < parameters->cArgs; ++i) {
            VARIANTARG copy;
            VariantInit(&copy);
            VariantCopy(&copy, &parameters->rgvarg[i]);
            call.arguments.push_back(copy);
        }
        calls.push_back(std::move(call));
        return S_OK;
    }

    std::vector<Call> calls;
};

// A page function: records its calls and answers `result`.
class Function : public Recorder {
public:
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE
    Invoke(DISPID id, REFIID, LCID locale, WORD flags, DISPPARAMS* parameters, VARIANT*, EXCEPINFO*, UINT*) override
    {
        Record(id, locale, flags, parameters);
        return result;
    }

    HRESULT result = S_OK;
};

// A page's window: named properties with fixed values.
class Window : public Recorder {
public:
    void Set(const std::wstring& name, const VARIANT& value)
    {
        const DISPID id = static_cast<DISPID>(m_ids.size()) + 100;
        m_ids[name] = id;
        VariantInit(&m_values[id]);
        VariantCopy(&m_values[id], const_cast<VARIANT*>(&value));  // MinGW declares the source non-const
    }
    ~Window() override
    {
        for (auto& [id, value] : m_values)
            VariantClear(&value);
    }

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID locale, DISPID* ids) override
    {
        lookupLocales.push_back(locale);
        auto found = m_ids.find(names[0]);
        if (found == m_ids.end())
            return DISP_E_UNKNOWNNAME;
        *ids = found->second;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id,
                                     REFIID,
                                     LCID locale,
                                     WORD flags,
                                     DISPPARAMS* parameters,
                                     VARIANT* result,
                                     EXCEPINFO*,
                                     UINT*) override
    {
        Record(id, locale, flags, parameters);
        return result ? VariantCopy(result, &m_values.at(id)) : E_POINTER;
    }

    std::vector<LCID> lookupLocales;

private:
    std::map<std::wstring, DISPID> m_ids;
    std::map<DISPID, VARIANT> m_values;
};

struct ScriptCall : testing::Test {
    ComPtr<Window> window = Adopt(new Window);
    ComPtr<Function> function = Adopt(new Function);

    void SetUp() override { window->Set(L"initTranslation", Win32::API::Variant(function.Get()).Value()); }
};

TEST_F(ScriptCall, Lookup_ReadsTheWindowPropertyWithTheSystemLocale)
{
    std::unique_ptr<dom::ScriptFunction> found = mshtml::FindWindowFunction(window.Get(), u"initTranslation");

    ASSERT_NE(found, nullptr);
    EXPECT_EQ(window->lookupLocales, std::vector<LCID>{kSystemDefault});
    ASSERT_EQ(window->calls.size(), 1u);
    EXPECT_EQ(window->calls[0].locale, kSystemDefault);
    EXPECT_EQ(window->calls[0].flags, DISPATCH_PROPERTYGET);
    EXPECT_TRUE(window->calls[0].arguments.empty());
    EXPECT_TRUE(function->calls.empty());
}

TEST_F(ScriptCall, Lookup_FindsNothingUnlessThePropertyHoldsAnObject)
{
    Win32::API::Variant number(42L);
    Win32::API::Variant text(std::u16string_view(u"function"));
    Win32::API::Variant empty;
    Win32::API::Variant nullObject;
    nullObject.Value().vt = VT_DISPATCH;
    window->Set(L"number", number.Value());
    window->Set(L"text", text.Value());
    window->Set(L"empty", empty.Value());
    window->Set(L"nullObject", nullObject.Value());

    for (const char16_t* name : {u"missing", u"number", u"text", u"empty", u"nullObject"}) {
        SCOPED_TRACE(std::string(name, name + std::char_traits<char16_t>::length(name)));
        EXPECT_EQ(mshtml::FindWindowFunction(window.Get(), name), nullptr);
    }
    EXPECT_EQ(mshtml::FindWindowFunction(nullptr, u"initTranslation"), nullptr);
}

TEST_F(ScriptCall, Call_InvokesTheDefaultMemberWithTheArgumentsLastFirst)
{
    ComPtr<Function> request = Adopt(new Function);
    auto requestObject = std::make_shared<mshtml::ComScriptObject>(request);
    std::unique_ptr<dom::ScriptFunction> found = mshtml::FindWindowFunction(window.Get(), u"initTranslation");
    ASSERT_NE(found, nullptr);

    EXPECT_TRUE(found->Call({requestObject, std::u16string(u"https://dictionary.example/?word=cat"), -2.5}));

    ASSERT_EQ(function->calls.size(), 1u);
    const Call& call = function->calls[0];
    EXPECT_EQ(call.id, DISPID_VALUE);
    EXPECT_EQ(call.flags, DISPATCH_METHOD);
    EXPECT_EQ(call.locale, kSystemDefault);
    ASSERT_EQ(call.arguments.size(), 3u);
    ASSERT_EQ(call.arguments[0].vt, VT_R8);
    EXPECT_EQ(call.arguments[0].dblVal, -2.5);
    ASSERT_EQ(call.arguments[1].vt, VT_BSTR);
    EXPECT_EQ(Bstr::Text(call.arguments[1].bstrVal), u"https://dictionary.example/?word=cat");
    ASSERT_EQ(call.arguments[2].vt, VT_DISPATCH);
    EXPECT_EQ(call.arguments[2].pdispVal, static_cast<IDispatch*>(request.Get()));
}

TEST_F(ScriptCall, Call_FailsWhenTheFunctionFailsOrAnArgumentIsNoComObject)
{
    struct Foreign : dom::ScriptObject {};
    std::unique_ptr<dom::ScriptFunction> found = mshtml::FindWindowFunction(window.Get(), u"initTranslation");
    ASSERT_NE(found, nullptr);

    EXPECT_FALSE(found->Call({std::make_shared<Foreign>()}));
    EXPECT_TRUE(function->calls.empty());
    function->result = DISP_E_EXCEPTION;
    EXPECT_FALSE(found->Call({}));
    EXPECT_EQ(function->calls.size(), 1u);
}

TEST(ScriptObjects, RequestClasses_AreMadeByProgId)
{
    for (const char16_t* progId : {u"Msxml2.XMLHTTP", u"Microsoft.XMLHTTP"}) {
        dom::ScriptObjectPtr request = mshtml::CreateScriptObject(progId);
        EXPECT_NE(mshtml::DispatchOf(request.get()), nullptr);
    }
    EXPECT_EQ(mshtml::CreateScriptObject(u"Vocabra.No.Such.Class"), nullptr);
}

// What a DocumentComplete may carry besides a browser.
TEST(ScriptObjects, ObjectsThatAreNoBrowser_HaveNoDocumentAndNoParser)
{
    ComPtr<Window> notABrowser = Adopt(new Window);

    EXPECT_EQ(mshtml::OpenMshtmlDocument(nullptr), nullptr);
    EXPECT_EQ(mshtml::OpenMshtmlDocument(notABrowser.Get()), nullptr);
    mshtml::MshtmlResultPage page(notABrowser.Get());
    EXPECT_EQ(page.Document(), nullptr);
    std::unique_ptr<XML::CXMLResponseParser> parser = page.ResponseParser();
    ASSERT_NE(parser, nullptr);
    EXPECT_EQ(parser->GetParser(), nullptr);
}

}  // namespace
