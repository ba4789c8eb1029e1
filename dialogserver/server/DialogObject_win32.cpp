#include "dialogserver/server/DialogObject_win32.h"

#include <exdispid.h>
#include <oleauto.h>

#include <iterator>
#include <new>

#include "dialogserver/server/DialogTypeInfo_win32.h"
#include "foundation/win32api/ComBoundary_win32.h"

namespace dialogserver {
namespace {
// Holds a reference for the length of a call: the call may cancel the browser's event
// connection, which can be the object's last reference.
class CallGuard {
public:
    explicit CallGuard(IUnknown* object) : m_object(object) { m_object->AddRef(); }
    ~CallGuard() { m_object->Release(); }
    CallGuard(const CallGuard&) = delete;
    CallGuard& operator=(const CallGuard&) = delete;

private:
    IUnknown* m_object;
};
}  // namespace

DialogObject::DialogObject(const DialogClass& dialogClass, IUnknown* outer)
    : m_class(dialogClass), m_outer(outer ? outer : &m_inner), m_dialog(dialogClass, m_outer)
{
}

HRESULT DialogObject::Create(const DialogClass& dialogClass, IUnknown* outer, REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (outer && (!dialogClass.aggregatable || riid != IID_IUnknown))
        return CLASS_E_NOAGGREGATION;
    // The constructor reads the service's files.
    return Win32::API::ComBoundary("Creating a dialog object: ", [&] {
        DialogObject* created = new (std::nothrow) DialogObject(dialogClass, outer);
        if (!created)
            return E_OUTOFMEMORY;
        // The inner IUnknown's own count decides the object's life; a failed query ends it.
        created->m_inner.AddRef();
        const HRESULT hr = created->m_inner.QueryInterface(riid, object);
        created->m_inner.Release();
        return hr;
    });
}

HRESULT STDMETHODCALLTYPE DialogObject::Inner::QueryInterface(REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    struct Entry {
        const IID* iid;
        IUnknown* part;
    };
    // IDispatch and the browser's event interface both reach the dual interface's dispatch.
    const Entry table[] = {
        {&IID_IUnknown, this},
        {&m_object.m_class.dualInterface, &m_object.m_dual},
        {&IID_IDispatch, &m_object.m_dual},
        {&DIID_DWebBrowserEvents2, &m_object.m_dual},
        {&IID_IDictionaryDialog, &m_object.m_vtable},
    };
    for (const Entry& entry : table) {
        if (riid == *entry.iid) {
            *object = entry.part;
            entry.part->AddRef();
            return S_OK;
        }
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE DialogObject::Inner::AddRef()
{
    return ++m_object.m_references;
}

ULONG STDMETHODCALLTYPE DialogObject::Inner::Release()
{
    const ULONG remaining = --m_object.m_references;
    if (remaining == 0)
        delete &m_object;
    return remaining;
}

// The other parts delegate IUnknown to the controlling unknown (the outer object's when aggregated).
HRESULT STDMETHODCALLTYPE DialogObject::Dual::QueryInterface(REFIID riid, void** object)
{
    return m_object.m_outer->QueryInterface(riid, object);
}

ULONG STDMETHODCALLTYPE DialogObject::Dual::AddRef()
{
    return m_object.m_outer->AddRef();
}

ULONG STDMETHODCALLTYPE DialogObject::Dual::Release()
{
    return m_object.m_outer->Release();
}

HRESULT STDMETHODCALLTYPE DialogObject::Vtable::QueryInterface(REFIID riid, void** object)
{
    return m_object.m_outer->QueryInterface(riid, object);
}

ULONG STDMETHODCALLTYPE DialogObject::Vtable::AddRef()
{
    return m_object.m_outer->AddRef();
}

ULONG STDMETHODCALLTYPE DialogObject::Vtable::Release()
{
    return m_object.m_outer->Release();
}

HRESULT STDMETHODCALLTYPE DialogObject::Dual::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DialogObject::Dual::GetTypeInfo(UINT index, LCID locale, ITypeInfo** info)
{
    if (!info)
        return E_POINTER;
    *info = nullptr;
    if (index != 0)
        return DISP_E_BADINDEX;
    const DialogTypeInfo& types = TypeInfoOf(m_object.m_class, locale);
    return types.dispatch ? types.dispatch.CopyTo(info) : TYPE_E_LIBNOTREGISTERED;
}

HRESULT STDMETHODCALLTYPE
DialogObject::Dual::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID locale, DISPID* ids)
{
    return Win32::API::ComBoundary("GetIDsOfNames: ", [&] {
        const DialogTypeInfo& types = TypeInfoOf(m_object.m_class, locale);
        return types.vtable ? ::DispGetIDsOfNames(types.vtable.Get(), names, count, ids) : TYPE_E_LIBNOTREGISTERED;
    });
}

HRESULT STDMETHODCALLTYPE DialogObject::Dual::Invoke(DISPID id,
                                                     REFIID,
                                                     LCID locale,
                                                     WORD flags,
                                                     DISPPARAMS* parameters,
                                                     VARIANT* result,
                                                     EXCEPINFO* exception,
                                                     UINT* argumentError)
{
    // The browser's other events come here too; the type information knows only DocumentComplete
    // among them, and DispInvoke turns the rest away.
    return Win32::API::ComBoundary("Invoke: ", [&] {
        const DialogTypeInfo& types = TypeInfoOf(m_object.m_class, locale);
        if (!types.vtable)
            return TYPE_E_LIBNOTREGISTERED;
        return ::DispInvoke(static_cast<IBabylonDictionaryDialog*>(this), types.vtable.Get(), id, flags, parameters,
                            result, exception, argumentError);
    });
}

HRESULT STDMETHODCALLTYPE DialogObject::Dual::ShowDictionaryDialog(BSTR url, BSTR, VARIANT browser)
{
    return m_object.ShowDictionaryDialog(url, browser);
}

HRESULT STDMETHODCALLTYPE DialogObject::Dual::Detach()
{
    return m_object.Detach();
}

HRESULT STDMETHODCALLTYPE DialogObject::Dual::DocumentComplete(IDispatch* page, VARIANT* url)
{
    m_object.DocumentComplete(page, url);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DialogObject::Vtable::ShowDictionaryDialog(BSTR url, BSTR, VARIANT browser)
{
    return m_object.ShowDictionaryDialog(url, browser);
}

HRESULT STDMETHODCALLTYPE DialogObject::Vtable::Detach()
{
    return m_object.Detach();
}

HRESULT DialogObject::ShowDictionaryDialog(BSTR url, const VARIANT& browser)
{
    const CallGuard guard(m_outer);
    return Win32::API::ComBoundary("ShowDictionaryDialog: ",
                                   [&] { return m_dialog.Show(url, browser, static_cast<IDispatch*>(&m_dual)); });
}

HRESULT DialogObject::Detach()
{
    const CallGuard guard(m_outer);
    return Win32::API::ComBoundary("Detach: ", [&] {
        m_dialog.Detach();
        return S_OK;
    });
}

void DialogObject::DocumentComplete(IDispatch* page, const VARIANT* url)
{
    const CallGuard guard(m_outer);
    // A page's failure must not reach the browser that reports the event.
    Win32::API::ComBoundary("DocumentComplete: ", [&] {
        m_dialog.OnDocumentComplete(page, url);
        return S_OK;
    });
}

}  // namespace dialogserver
