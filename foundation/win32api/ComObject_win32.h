#pragma once
// A COM object of one interface, made with new and ended by its last Release: the IUnknown part
// that every such object of the program would otherwise write again.

#include <unknwn.h>

#include <atomic>

namespace Win32::API {

template <class Interface>
class ComObject : public Interface {
public:
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (riid != IID_IUnknown && riid != __uuidof(Interface)) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<Interface*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG remaining = --m_references;
        if (remaining == 0)
            delete this;
        return remaining;
    }

protected:
    ComObject() = default;  // with one reference, the creator's
    virtual ~ComObject() = default;

private:
    std::atomic<ULONG> m_references{1};
};

}  // namespace Win32::API
