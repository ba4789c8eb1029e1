#include "dialogserver/server/ClassObjects_win32.h"

#include <atomic>
#include <new>

#include "dialogserver/server/DialogClasses_win32.h"
#include "dialogserver/server/DialogObject_win32.h"
#include "dialogserver/server/ServerLocks_win32.h"

namespace dialogserver {
namespace {
// One per class, living as long as the program: its reference count does not keep the server.
class DialogClassFactory final : public IClassFactory {
public:
    explicit DialogClassFactory(const DialogClass& dialogClass) : m_class(dialogClass) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *object = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_references; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override
    {
        return DialogObject::Create(m_class, outer, riid, object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override
    {
        lock ? dialogserver::LockServer() : dialogserver::UnlockServer();
        return S_OK;
    }

private:
    const DialogClass& m_class;
    std::atomic<ULONG> m_references{1};
};

DialogClassFactory& FactoryOf(const DialogClass& dialogClass)
{
    static DialogClassFactory factories[] = {
        DialogClassFactory(DialogClasses()[0]), DialogClassFactory(DialogClasses()[1]),
        DialogClassFactory(DialogClasses()[2]), DialogClassFactory(DialogClasses()[3])};
    return factories[&dialogClass - DialogClasses().data()];
}
}  // namespace

ClassObjects::ClassObjects()
{
    Register();
}

HRESULT ClassObjects::Register()
{
    m_result = S_OK;
    for (std::size_t index = m_cookies.size(); index < DialogClasses().size(); ++index) {
        const DialogClass& dialogClass = DialogClasses()[index];
        DWORD cookie = 0;
        m_result = ::CoRegisterClassObject(dialogClass.clsid, &FactoryOf(dialogClass), CLSCTX_LOCAL_SERVER,
                                           REGCLS_MULTIPLEUSE, &cookie);
        if (m_result != S_OK)
            break;
        m_cookies.push_back(cookie);
    }
    return m_result;
}

ClassObjects::~ClassObjects()
{
    Revoke();
}

HRESULT ClassObjects::Revoke()
{
    HRESULT result = S_OK;
    while (!m_cookies.empty() && SUCCEEDED(result)) {
        result = ::CoRevokeClassObject(m_cookies.front());
        m_cookies.erase(m_cookies.begin());
    }
    m_cookies.clear();
    return result;
}

}  // namespace dialogserver
