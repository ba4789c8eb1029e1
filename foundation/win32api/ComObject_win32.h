#pragma once
// A COM object of one interface, made with new and ended by its last Release: the IUnknown part
// that every such object of the program would otherwise write again.

#include <unknwn.h>

#include <atomic>

namespace Win32::API {

// AddRef and Release of `Interface` for an object made with new; the count starts at 1, the
// creator's, and the last Release deletes it.
template <class Interface>
class RefCountedCom : public Interface {
public:
    RefCountedCom(const RefCountedCom&) = delete;
    RefCountedCom& operator=(const RefCountedCom&) = delete;

    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG remaining = --m_references;
        if (remaining == 0)
            delete this;
        return remaining;
    }

protected:
    RefCountedCom() = default;
    virtual ~RefCountedCom() = default;

private:
    std::atomic<ULONG> m_references{1};
};

// An object of that one interface: QueryInterface answers for it and IUnknown.
template <class Interface>
class ComObject : public RefCountedCom<Interface> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (riid != IID_IUnknown && riid != __uuidof(Interface)) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<Interface*>(this);
        this->AddRef();
        return S_OK;
    }
};

}  // namespace Win32::API
