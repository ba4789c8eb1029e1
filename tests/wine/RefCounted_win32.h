#pragma once
// Reference counting and class objects for the COM objects the tests make themselves.

#include <oaidl.h>
#include <unknwn.h>
#include <windows.h>

#include "foundation/win32api/ComObject_win32.h"

namespace wintest {

// AddRef and Release of `Interface` for an object made with new; the count starts at 1.
template <class Interface>
using TRefCounted = Win32::API::RefCountedCom<Interface>;

// A class object: answers for IUnknown and IClassFactory; CreateInstance is the subclass's.
class TestClassFactory : public TRefCounted<IClassFactory> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *object = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

// An IDispatch that knows no names, and tells its reference count.
class NamelessDispatch : public TRefCounted<IDispatch> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        *object = nullptr;
        if (riid != IID_IUnknown && riid != IID_IDispatch)
            return E_NOINTERFACE;
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return *count = 0, S_OK; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return DISP_E_MEMBERNOTFOUND;
    }

    ULONG References()
    {
        AddRef();
        return Release();
    }
};

}  // namespace wintest
