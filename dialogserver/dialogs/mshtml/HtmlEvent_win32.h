#pragma once
// IDispatch objects for DOM event-handler properties (onunload and the like) that call back into
// the dialog that made them. A page keeps such a handler as long as it likes; the handler keeps
// its owner alive all that time through a counted reference.

#include <windows.h>

#include <oaidl.h>
#include <wrl/client.h>

#include <atomic>
#include <functional>
#include <new>
#include <utility>

namespace IE::Automation {

// The IUnknown and IDispatch parts. `T` is the owner's COM type (anything with AddRef and
// Release; IUnknown will do), `Derived` the concrete handler, which Release deletes as such.
// The count starts at 0: the creator takes the first reference.
template <class T, class Derived>
class AbstractHtmlEvent : public IDispatch {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDispatch) {
            *object = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++m_references); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG remaining = --m_references;
        if (remaining == 0)
            delete static_cast<Derived*>(this);  // releases the owner reference with it
        return static_cast<ULONG>(remaining);
    }
    // A handler describes nothing: the page only ever invokes it.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return S_OK; }

protected:
    // Takes a counted reference on `owner`, which may be null.
    explicit AbstractHtmlEvent(T* owner) : m_owner(owner) {}
    ~AbstractHtmlEvent() = default;
    AbstractHtmlEvent(const AbstractHtmlEvent&) = delete;
    AbstractHtmlEvent& operator=(const AbstractHtmlEvent&) = delete;

    T* Owner() const { return m_owner.Get(); }

private:
    std::atomic<LONG> m_references{0};
    Microsoft::WRL::ComPtr<T> m_owner;
};

// Runs one callback on its owner for every invocation, whatever the DISPID and arguments.
template <class T>
class CSingleHtmlEvent final : public AbstractHtmlEvent<T, CSingleHtmlEvent<T>> {
public:
    // Gets the owner and the call's result variant; a member function of T taking VARIANT* fits.
    using Callback = std::function<void(T& owner, VARIANT* result)>;

    // A new handler holding one reference, the caller's.
    static Microsoft::WRL::ComPtr<IDispatch> Create(T* owner, Callback callback)
    {
        return Microsoft::WRL::ComPtr<IDispatch>(new CSingleHtmlEvent(owner, std::move(callback)));
    }

    HRESULT STDMETHODCALLTYPE
    Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*) override
    {
        T* owner = this->Owner();
        if (!owner || !m_callback)
            return S_OK;
        // No exception may leave a COM method.
        try {
            m_callback(*owner, result);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        } catch (...) {
            return E_FAIL;
        }
        return S_OK;
    }

private:
    CSingleHtmlEvent(T* owner, Callback callback)
        : AbstractHtmlEvent<T, CSingleHtmlEvent<T>>(owner), m_callback(std::move(callback))
    {
    }
    friend class AbstractHtmlEvent<T, CSingleHtmlEvent<T>>;  // deletes it
    ~CSingleHtmlEvent() = default;

    Callback m_callback;
};

}  // namespace IE::Automation
