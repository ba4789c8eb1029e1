// The dialog server's objects in this process: their interfaces, aggregation, and their dispatch
// served from the registered type library (this test program carries the library, as the server
// does, and registers it from itself).
#include <windows.h>

#include <exdispid.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <stdexcept>

#include <gtest/gtest.h>

#include "VocabraHelper.h"
#include "dialogserver/server/DialogClasses_win32.h"
#include "dialogserver/server/DialogObject_win32.h"
#include "dialogserver/server/DialogTypeInfo_win32.h"
#include "dialogserver/server/TypeLibraryRegistration_win32.h"
#include "foundation/win32api/ComValues_win32.h"
#include "tests/wine/Adopt_win32.h"
#include "tests/wine/ComTestSupport_win32.h"
#include "tests/wine/RefCounted_win32.h"

using Microsoft::WRL::ComPtr;

namespace {
using dialogserver::DialogClass;
using dialogserver::DialogClasses;
using dialogserver::DialogFamily;
using dialogserver::DialogObject;

const DialogClass& ClassOf(DialogFamily family)
{
    for (const DialogClass& dialogClass : DialogClasses()) {
        if (dialogClass.family == family)
            return dialogClass;
    }
    throw std::logic_error("no such class");
}

// An outer object for aggregation: it keeps the inner object's IUnknown and counts its own references.
class Outer final : public wintest::TRefCounted<IUnknown> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (riid == IID_IUnknown) {
            *object = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        return inner ? inner->QueryInterface(riid, object) : (*object = nullptr, E_NOINTERFACE);
    }
    ULONG References()
    {
        AddRef();
        return Release();
    }

    ComPtr<IUnknown> inner;
};

using DialogObjectTest = wintest::ComTest;

TEST_F(DialogObjectTest, EveryClassAnswersForItsInterfacesAndNoOthers)
{
    for (const DialogClass& dialogClass : DialogClasses()) {
        ComPtr<IUnknown> object;
        ASSERT_HRESULT_SUCCEEDED(
            DialogObject::Create(dialogClass, nullptr, IID_IUnknown, reinterpret_cast<void**>(object.GetAddressOf())));
        ComPtr<IUnknown> dual;
        ComPtr<IDispatch> dispatch;
        ComPtr<IUnknown> vtable;
        ComPtr<IDispatch> events;
        EXPECT_HRESULT_SUCCEEDED(
            object->QueryInterface(dialogClass.dualInterface, reinterpret_cast<void**>(dual.GetAddressOf())));
        EXPECT_HRESULT_SUCCEEDED(object->QueryInterface(IID_PPV_ARGS(dispatch.GetAddressOf())));
        EXPECT_HRESULT_SUCCEEDED(
            object->QueryInterface(IID_IDictionaryDialog, reinterpret_cast<void**>(vtable.GetAddressOf())));
        EXPECT_HRESULT_SUCCEEDED(
            object->QueryInterface(DIID_DWebBrowserEvents2, reinterpret_cast<void**>(events.GetAddressOf())));
        // IDispatch is the dual interface itself.
        EXPECT_EQ(static_cast<IUnknown*>(dispatch.Get()), dual.Get());
        EXPECT_EQ(static_cast<IUnknown*>(events.Get()), dual.Get());
        ComPtr<IUnknown> identity;
        ASSERT_HRESULT_SUCCEEDED(vtable->QueryInterface(IID_PPV_ARGS(identity.GetAddressOf())));
        EXPECT_EQ(identity.Get(), object.Get());

        ComPtr<IUnknown> other;
        EXPECT_EQ(object->QueryInterface(IID_IClassFactory, reinterpret_cast<void**>(other.GetAddressOf())),
                  E_NOINTERFACE);
        EXPECT_EQ(other.Get(), nullptr);
        for (const DialogClass& another : DialogClasses()) {
            if (&another == &dialogClass)
                continue;
            EXPECT_EQ(object->QueryInterface(another.dualInterface, reinterpret_cast<void**>(other.GetAddressOf())),
                      E_NOINTERFACE);
        }
    }
}

TEST_F(DialogObjectTest, AggregationAsEachClassAllows)
{
    for (const DialogClass& dialogClass : DialogClasses()) {
        const ComPtr<Outer> outer = wintest::Adopt(new Outer());
        const HRESULT hr = DialogObject::Create(dialogClass, outer.Get(), IID_IUnknown,
                                                reinterpret_cast<void**>(outer->inner.GetAddressOf()));
        if (!dialogClass.aggregatable) {
            EXPECT_EQ(hr, CLASS_E_NOAGGREGATION);
            EXPECT_EQ(outer->inner.Get(), nullptr);
            continue;
        }
        ASSERT_HRESULT_SUCCEEDED(hr);
        // The inner object's interfaces count on the outer object and lead back to it.
        const ULONG before = outer->References();
        ComPtr<IDispatch> dispatch;
        ASSERT_HRESULT_SUCCEEDED(outer->QueryInterface(IID_PPV_ARGS(dispatch.GetAddressOf())));
        EXPECT_EQ(outer->References(), before + 1);
        ComPtr<IUnknown> identity;
        ASSERT_HRESULT_SUCCEEDED(dispatch->QueryInterface(IID_PPV_ARGS(identity.GetAddressOf())));
        EXPECT_EQ(identity.Get(), static_cast<IUnknown*>(outer.Get()));
        // An aggregate asks for IUnknown only.
        ComPtr<IUnknown> refused;
        EXPECT_EQ(DialogObject::Create(dialogClass, outer.Get(), IID_IDispatch,
                                       reinterpret_cast<void**>(refused.GetAddressOf())),
                  CLASS_E_NOAGGREGATION);
        identity.Reset();
        dispatch.Reset();
        outer->inner.Reset();
    }
    EXPECT_EQ(DialogObject::Create(ClassOf(DialogFamily::Lingvo), nullptr, IID_IUnknown, nullptr), E_POINTER);
}

// Late binding needs the registered library; the vtable interface does not.
TEST_F(DialogObjectTest, DispatchComesFromTheRegisteredTypeLibrary)
{
    dialogserver::UnregisterTypeLibrary(false);
    dialogserver::ReleaseTypeInfo();
    const DialogClass& lingvo = ClassOf(DialogFamily::Lingvo);
    ComPtr<IDispatch> dialog;
    ASSERT_HRESULT_SUCCEEDED(
        DialogObject::Create(lingvo, nullptr, IID_IDispatch, reinterpret_cast<void**>(dialog.GetAddressOf())));
    LPOLESTR name = const_cast<LPOLESTR>(L"DocumentComplete");
    DISPID id = 0;
    EXPECT_TRUE(FAILED(dialog->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_SYSTEM_DEFAULT, &id)));
    ComPtr<IDictionaryDialog> vtable;
    ASSERT_HRESULT_SUCCEEDED(
        dialog->QueryInterface(IID_IDictionaryDialog, reinterpret_cast<void**>(vtable.GetAddressOf())));
    EXPECT_EQ(vtable->Detach(), S_OK);

    ASSERT_HRESULT_SUCCEEDED(dialogserver::RegisterTypeLibrary(false));
    UINT count = 0;
    EXPECT_HRESULT_SUCCEEDED(dialog->GetTypeInfoCount(&count));
    EXPECT_EQ(count, 1u);
    ComPtr<ITypeInfo> info;
    EXPECT_EQ(dialog->GetTypeInfo(1, LOCALE_SYSTEM_DEFAULT, info.GetAddressOf()), DISP_E_BADINDEX);
    EXPECT_HRESULT_SUCCEEDED(dialog->GetTypeInfo(0, LOCALE_SYSTEM_DEFAULT, info.GetAddressOf()));

    // As the tray program calls: names and calls in the system's default locale.
    ASSERT_HRESULT_SUCCEEDED(dialog->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_SYSTEM_DEFAULT, &id));
    EXPECT_EQ(id, DISPID_DOCUMENTCOMPLETE);
    VARIANT url;
    ::VariantInit(&url);
    url.vt = VT_BSTR;
    url.bstrVal = ::SysAllocString(L"about:blank");
    VARIANT arguments[2];
    ::VariantInit(&arguments[0]);
    arguments[0].vt = VT_VARIANT | VT_BYREF;
    arguments[0].pvarVal = &url;
    ::VariantInit(&arguments[1]);
    arguments[1].vt = VT_DISPATCH;
    arguments[1].pdispVal = nullptr;
    DISPPARAMS parameters{arguments, nullptr, 2, 0};
    EXPECT_EQ(
        dialog->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_METHOD, &parameters, nullptr, nullptr, nullptr),
        S_OK);
    // The browser's other events reach the same IDispatch and are turned away.
    EXPECT_EQ(dialog->Invoke(DISPID_BEFORENAVIGATE2, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_METHOD, &parameters,
                             nullptr, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
    ::VariantClear(&url);

    LPOLESTR detach = const_cast<LPOLESTR>(L"Detach");
    ASSERT_HRESULT_SUCCEEDED(dialog->GetIDsOfNames(IID_NULL, &detach, 1, LOCALE_SYSTEM_DEFAULT, &id));
    DISPPARAMS none{};
    EXPECT_EQ(dialog->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
              S_OK);
    dialogserver::UnregisterTypeLibrary(false);
}

// Without a browser nothing happens, however often.
TEST_F(DialogObjectTest, DetachBeforeShowingAndTwiceDoesNothing)
{
    ComPtr<IDictionaryDialog> dialog;
    ASSERT_HRESULT_SUCCEEDED(DialogObject::Create(ClassOf(DialogFamily::Babylon), nullptr, IID_IDictionaryDialog,
                                                  reinterpret_cast<void**>(dialog.GetAddressOf())));
    EXPECT_EQ(dialog->Detach(), S_OK);
    EXPECT_EQ(dialog->Detach(), S_OK);
}

// A "browser" that is not one is refused.
TEST_F(DialogObjectTest, AForcedObjectThatIsNoBrowserFails)
{
    ComPtr<IDictionaryDialog> dialog;
    ASSERT_HRESULT_SUCCEEDED(DialogObject::Create(ClassOf(DialogFamily::Multilex), nullptr, IID_IDictionaryDialog,
                                                  reinterpret_cast<void**>(dialog.GetAddressOf())));
    const ComPtr<IDispatch> notABrowser = wintest::Adopt<IDispatch>(new wintest::NamelessDispatch());
    const Win32::API::Variant forced(notABrowser.Get());
    const Win32::API::Bstr url(u"http://127.0.0.1:1/x");
    EXPECT_EQ(dialog->ShowDictionaryDialog(url.Get(), nullptr, forced.Value()), E_FAIL);
}

}  // namespace
