#pragma once
// A dialog object of one of the four classes: the class's dual interface (its IDispatch served
// from the registered type library), the vtable interface IDictionaryDialog, and, for the classes
// that allow it, aggregation into an outer object. The browser's events reach it through its
// IDispatch; everything else is the DictionaryDialog it carries.

#include <windows.h>

#include <atomic>

#include "VocabraHelper.h"
#include "dialogserver/server/DialogClasses_win32.h"
#include "dialogserver/server/DictionaryDialog_win32.h"

namespace dialogserver {

class DialogObject final {
public:
    // A new object asked for `riid`; aggregated in `outer` when given (which must then ask for
    // IUnknown). CLASS_E_NOAGGREGATION for a class that refuses aggregation.
    static HRESULT Create(const DialogClass& dialogClass, IUnknown* outer, REFIID riid, void** object);

private:
    DialogObject(const DialogClass& dialogClass, IUnknown* outer);
    ~DialogObject() = default;

    // The object's own IUnknown: answers for the object's interfaces and owns the count, also
    // when aggregated (the other parts then delegate to the outer object).
    class Inner final : public IUnknown {
    public:
        explicit Inner(DialogObject& object) : m_object(object) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
        ULONG STDMETHODCALLTYPE AddRef() override;
        ULONG STDMETHODCALLTYPE Release() override;

    private:
        DialogObject& m_object;
    };

    // The four classes' dual interfaces have one layout: this part serves whichever is the class's.
    class Dual final : public IBabylonDictionaryDialog {
    public:
        explicit Dual(DialogObject& object) : m_object(object) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
        ULONG STDMETHODCALLTYPE AddRef() override;
        ULONG STDMETHODCALLTYPE Release() override;
        HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
        HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
        HRESULT STDMETHODCALLTYPE
        GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
        HRESULT STDMETHODCALLTYPE Invoke(DISPID id,
                                         REFIID riid,
                                         LCID locale,
                                         WORD flags,
                                         DISPPARAMS* parameters,
                                         VARIANT* result,
                                         EXCEPINFO* exception,
                                         UINT* argumentError) override;
        HRESULT STDMETHODCALLTYPE ShowDictionaryDialog(BSTR url, BSTR direction, VARIANT browser) override;
        HRESULT STDMETHODCALLTYPE Detach() override;
        HRESULT STDMETHODCALLTYPE DocumentComplete(IDispatch* page, VARIANT* url) override;

    private:
        DialogObject& m_object;
    };

    // IDictionaryDialog shares the dual interface's method names, so it is a part of its own.
    class Vtable final : public IDictionaryDialog {
    public:
        explicit Vtable(DialogObject& object) : m_object(object) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
        ULONG STDMETHODCALLTYPE AddRef() override;
        ULONG STDMETHODCALLTYPE Release() override;
        HRESULT STDMETHODCALLTYPE ShowDictionaryDialog(BSTR url, BSTR direction, VARIANT browser) override;
        HRESULT STDMETHODCALLTYPE Detach() override;

    private:
        DialogObject& m_object;
    };

    HRESULT ShowDictionaryDialog(BSTR url, const VARIANT& browser);
    HRESULT Detach();
    void DocumentComplete(IDispatch* page, const VARIANT* url);

    const DialogClass& m_class;
    std::atomic<ULONG> m_references{0};
    Inner m_inner{*this};
    Dual m_dual{*this};
    Vtable m_vtable{*this};
    IUnknown* m_outer;  // the controlling IUnknown: the outer object's, else m_inner
    DictionaryDialog m_dialog;
};

}  // namespace dialogserver
