#include "translate/target/ServerDialogHandler_win32.h"

#include <atomic>
#include <new>
#include <utility>

#include "foundation/threads/BackgroundTask.h"
#include "foundation/threads/PumpingWait_win32.h"
#include "foundation/win32api/ComApartment_win32.h"
#include "foundation/win32api/ComBoundary_win32.h"
#include "foundation/win32api/ComObject_win32.h"
#include "translate/target/DialogServerCall_win32.h"

using Microsoft::WRL::ComPtr;

namespace translate::target {
namespace {
constexpr DISPID kDetachId = 1;

// Takes the object out of its marshalled form; releasing what comes out lets it go in the server.
// (CoReleaseMarshalData would do it without a proxy, but Wine's leaves an object of another
// process untouched.)
ComPtr<IDispatch> Unmarshal(IStream* marshalled)
{
    ComPtr<IDispatch> object;
    ::CoUnmarshalInterface(marshalled, IID_PPV_ARGS(object.GetAddressOf()));
    return object;
}

// The object's last reference goes on a thread of its own, which nobody waits for.
void LetGoInBackground(ComPtr<IStream> marshalled)
{
    const threads::BackgroundTask release([marshalled] {
        const Win32::API::ComApartment com(COINIT_MULTITHREADED);
        return Unmarshal(marshalled.Get()) != nullptr;
    });
    if (!release.Started())
        ::CoReleaseMarshalData(marshalled.Get());
}

class ServerDialogHandler final : public Win32::API::ComObject<IDispatch> {
public:
    explicit ServerDialogHandler(ComPtr<IStream> marshalled) : m_marshalled(std::move(marshalled)) {}

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override
    {
        if (info)
            *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        if (!names || !ids || count == 0)
            return E_INVALIDARG;
        ids[0] = (names[0] && ::CompareStringOrdinal(names[0], -1, L"Detach", -1, TRUE) == CSTR_EQUAL) ? kDetachId
                                                                                                       : DISPID_UNKNOWN;
        for (UINT i = 1; i < count; ++i)
            ids[i] = DISPID_UNKNOWN;
        return ids[0] == kDetachId && count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        if (id != kDetachId)
            return DISP_E_MEMBERNOTFOUND;
        return Win32::API::ComBoundary("Detaching a dialog server's object: ", [this] {
            Detach();
            return S_OK;
        });
    }

private:
    ~ServerDialogHandler() override
    {
        if (m_marshalled)
            LetGoInBackground(std::move(m_marshalled));
    }

    // Once: the object is gone from this handler afterwards, whatever the server does.
    void Detach()
    {
        ComPtr<IStream> marshalled = std::move(m_marshalled);
        if (!marshalled)
            return;
        const threads::PumpedWork detached = threads::RunWhilePumping(
            [marshalled] {
                const ComPtr<IDispatch> object = Unmarshal(marshalled.Get());
                if (!object)
                    return false;
                DISPPARAMS none{};
                return SUCCEEDED(InvokeByName(object.Get(), L"Detach", none));
            },
            kDialogCallLimit, threads::ThreadMessageFilter());
        if (detached.end == threads::PumpedWork::End::NotStarted)
            LetGoInBackground(std::move(marshalled));
    }

    ComPtr<IStream> m_marshalled;
};
}  // namespace

ComPtr<IDispatch> AdoptServerDialogHandler(ComPtr<IStream> marshalled)
{
    // The new object's one reference is handed over as it is: MinGW's ComPtr::Attach adds one.
    ComPtr<IDispatch> handler;
    *handler.GetAddressOf() = new ServerDialogHandler(std::move(marshalled));
    return handler;
}

}  // namespace translate::target
