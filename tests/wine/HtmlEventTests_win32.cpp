// The page event handler of the dialogs (IE::Automation::CSingleHtmlEvent), invoked through its
// IDispatch as a page would invoke its onunload handler.
#include <windows.h>

#include <ocidl.h>

#include <gtest/gtest.h>

#include "dialogserver/dialogs/mshtml/ComScriptObject_win32.h"
#include "dialogserver/dialogs/mshtml/HtmlEvent_win32.h"
#include "foundation/win32api/ComValues_win32.h"
#include "tests/wine/Adopt_win32.h"
#include "tests/wine/RefCounted_win32.h"

namespace {
using Microsoft::WRL::ComPtr;
using wintest::Adopt;

// The dialog object as the handler sees it: counted, with the operation the handler runs.
class Owner : public wintest::TRefCounted<IUnknown> {
public:
    explicit Owner(bool* destroyed = nullptr) : m_destroyed(destroyed) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (riid == IID_IUnknown) {
            *object = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }

    void Unloaded(VARIANT* result)
    {
        ++calls;
        lastResult = result;
    }

    int calls = 0;
    VARIANT* lastResult = nullptr;

protected:
    ~Owner() override
    {
        if (m_destroyed)
            *m_destroyed = true;
    }

private:
    bool* m_destroyed;
};

using Handler = IE::Automation::CSingleHtmlEvent<Owner>;

ULONG References(IUnknown* object)
{
    object->AddRef();
    return object->Release();
}

HRESULT InvokeWithNothing(IDispatch* handler)
{
    return handler->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, nullptr, nullptr, nullptr,
                           nullptr);
}

TEST(HtmlEvent, Invoke_RunsTheCallbackOnceWhateverTheCall)
{
    ComPtr<Owner> owner = Adopt(new Owner);
    ComPtr<IDispatch> handler = Handler::Create(owner.Get(), &Owner::Unloaded);
    struct Case {
        DISPID id;
        WORD flags;
        bool withArgument;
    } const cases[] = {
        {DISPID_VALUE, DISPATCH_METHOD, false}, {0, DISPATCH_PROPERTYGET, false},
        {259, DISPATCH_METHOD, true},           {DISPID_UNKNOWN, DISPATCH_METHOD | DISPATCH_PROPERTYGET, true},
        {12345, DISPATCH_PROPERTYPUT, true},
    };
    int expected = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        Win32::API::Variant argument(std::u16string_view(u"event"));
        DISPPARAMS parameters = {};
        if (c.withArgument)
            parameters = {&argument.Value(), nullptr, 1, 0};
        VARIANT result;
        VariantInit(&result);

        EXPECT_EQ(handler->Invoke(c.id, IID_NULL, 0x0800, c.flags, &parameters, &result, nullptr, nullptr), S_OK);

        EXPECT_EQ(owner->calls, ++expected);
        EXPECT_EQ(owner->lastResult, &result);
        EXPECT_EQ(result.vt, VT_EMPTY);
    }
    EXPECT_EQ(InvokeWithNothing(handler.Get()), S_OK);
    EXPECT_EQ(owner->calls, ++expected);
    EXPECT_EQ(owner->lastResult, nullptr);
}

TEST(HtmlEvent, QueryInterface_AnswersOnlyIUnknownAndIDispatch)
{
    ComPtr<Owner> owner = Adopt(new Owner);
    ComPtr<IDispatch> handler = Handler::Create(owner.Get(), &Owner::Unloaded);

    for (const IID* iid : {&IID_IUnknown, &IID_IDispatch}) {
        void* object = nullptr;
        EXPECT_EQ(handler->QueryInterface(*iid, &object), S_OK);
        EXPECT_EQ(object, static_cast<void*>(handler.Get()));
        EXPECT_EQ(References(handler.Get()), 2u);
        static_cast<IUnknown*>(object)->Release();
    }
    for (const IID* iid : {&IID_IClassFactory, &IID_IConnectionPointContainer, &IID_IProvideClassInfo, &IID_ITypeInfo,
                           &IID_IMarshal, &IID_IPersist}) {
        void* object = handler.Get();
        EXPECT_EQ(handler->QueryInterface(*iid, &object), E_NOINTERFACE);
        EXPECT_EQ(object, nullptr);
    }
    EXPECT_EQ(References(handler.Get()), 1u);
}

TEST(HtmlEvent, TypeInformation_IsNotOffered)
{
    ComPtr<Owner> owner = Adopt(new Owner);
    ComPtr<IDispatch> handler = Handler::Create(owner.Get(), &Owner::Unloaded);
    UINT count = 7;
    ITypeInfo* info = nullptr;
    wchar_t name[] = L"anything";
    LPOLESTR names[] = {name};
    DISPID id = 77;

    EXPECT_EQ(handler->GetTypeInfoCount(&count), E_NOTIMPL);
    EXPECT_EQ(handler->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info), E_NOTIMPL);
    EXPECT_EQ(handler->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK);
    EXPECT_EQ(id, 77);
    EXPECT_EQ(owner->calls, 0);
}

// The count starts at 0: the creator's reference is the only one, and the page's replaces it.
TEST(HtmlEvent, HoldsItsOwnerForAsLongAsItLives)
{
    bool ownerDestroyed = false;
    ComPtr<Owner> owner = Adopt(new Owner(&ownerDestroyed));
    ComPtr<IDispatch> creator = Handler::Create(owner.Get(), &Owner::Unloaded);
    EXPECT_EQ(References(creator.Get()), 1u);
    EXPECT_EQ(References(owner.Get()), 2u);

    ComPtr<IDispatch> page = creator;
    creator.Reset();
    Owner* dialog = owner.Get();
    owner.Reset();  // the dialog's last other reference goes first
    EXPECT_FALSE(ownerDestroyed);
    EXPECT_EQ(References(dialog), 1u);
    EXPECT_EQ(InvokeWithNothing(page.Get()), S_OK);
    EXPECT_EQ(dialog->calls, 1);

    page.Reset();
    EXPECT_TRUE(ownerDestroyed);
}

TEST(HtmlEvent, WithoutOwner_InvokeDoesNothing)
{
    int calls = 0;
    ComPtr<IDispatch> handler = Handler::Create(nullptr, [&calls](Owner&, VARIANT*) { ++calls; });

    EXPECT_EQ(InvokeWithNothing(handler.Get()), S_OK);
    EXPECT_EQ(calls, 0);
}

// How the dialog object makes the handler it hands to the page steps.
TEST(HtmlEvent, PageEventHandler_RunsItsActionAndHoldsTheDialog)
{
    ComPtr<Owner> owner = Adopt(new Owner);
    int actions = 0;
    dialogserver::dom::ScriptObjectPtr handler =
        dialogserver::mshtml::MakePageEventHandler(owner.Get(), [&actions] { ++actions; });
    IDispatch* dispatch = dialogserver::mshtml::DispatchOf(handler.get());
    ASSERT_NE(dispatch, nullptr);
    EXPECT_EQ(References(owner.Get()), 2u);

    EXPECT_EQ(InvokeWithNothing(dispatch), S_OK);
    EXPECT_EQ(InvokeWithNothing(dispatch), S_OK);
    EXPECT_EQ(actions, 2);

    handler.reset();
    EXPECT_EQ(References(owner.Get()), 1u);
}

}  // namespace
