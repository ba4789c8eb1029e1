#include "tests/wine/TestDialogClasses_win32.h"

#include <exdisp.h>

#include <atomic>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <new>

#include "VocabraHelper.h"
#include "tests/wine/Adopt_win32.h"
#include "tests/wine/RefCounted_win32.h"

using Microsoft::WRL::ComPtr;

namespace testdialogs {
namespace {
std::atomic<long> g_liveObjects{0};

std::filesystem::path CallsFile()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::filesystem::path(path).parent_path() / L"dialog-calls.txt";
}

std::string Utf8(const wchar_t* text)
{
    if (!text || !*text)
        return {};
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), size, nullptr, nullptr);
    result.pop_back();
    return result;
}

std::string DescribeBrowser(const VARIANT& browser)
{
    if (browser.vt == VT_EMPTY)
        return "empty";
    ComPtr<IWebBrowser2> webBrowser;
    SHANDLE_PTR window = 0;
    if (browser.vt == VT_DISPATCH && browser.pdispVal &&
        SUCCEEDED(browser.pdispVal->QueryInterface(IID_PPV_ARGS(webBrowser.GetAddressOf()))) &&
        SUCCEEDED(webBrowser->get_HWND(&window))) {
        char text[32];
        std::snprintf(text, sizeof text, "window:%llx", static_cast<unsigned long long>(window));
        return text;
    }
    return "vt:" + std::to_string(browser.vt);
}

HRESULT RecordCall(const char* binding, BSTR url, BSTR direction, const VARIANT& browser) noexcept
{
    try {
        std::ofstream(CallsFile(), std::ios::app | std::ios::binary)
            << binding << ' ' << Utf8(url) << ' ' << Utf8(direction) << ' ' << DescribeBrowser(browser) << '\n';
    } catch (...) {
        return E_OUTOFMEMORY;
    }
    if (url && std::wcsstr(url, kCrashMarker))
        ::ExitProcess(3);
    if (url && std::wcsstr(url, kHangMarker))
        ::Sleep(kHangMs);
    if (url && std::wcsstr(url, kSlowMarker))
        ::Sleep(kSlowMs);
    return (url && std::wcsstr(url, kRefusedMarker)) ? E_FAIL : S_OK;
}

HRESULT RecordDetach(const char* binding, bool stuck) noexcept
{
    try {
        std::ofstream(CallsFile(), std::ios::app | std::ios::binary) << binding << " Detach\n";
    } catch (...) {
        return E_OUTOFMEMORY;
    }
    if (stuck)
        ::Sleep(kHangMs);
    return S_OK;
}

bool AsksForAStuckDetach(BSTR url)
{
    return url && std::wcsstr(url, kStuckDetachMarker);
}

// The vtable part of the dual interface, which DispInvoke calls through.
ComPtr<ITypeInfo> LoadDialogTypeInfo()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    ComPtr<ITypeLib> library;
    ComPtr<ITypeInfo> info;
    ComPtr<ITypeInfo> vtableInfo;
    HREFTYPE vtablePart = 0;
    if (FAILED(::LoadTypeLibEx(path, REGKIND_NONE, library.GetAddressOf())) ||
        FAILED(library->GetTypeInfoOfGuid(IID_IBabylonDictionaryDialog, info.GetAddressOf())))
        return nullptr;
    if (FAILED(info->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtablePart)) ||
        FAILED(info->GetRefTypeInfo(vtablePart, vtableInfo.GetAddressOf())))
        return info;
    return vtableInfo;
}

class DialogObject final : public wintest::TRefCounted<IBabylonDictionaryDialog> {
public:
    explicit DialogObject(bool withVtableInterface)
        : m_vtable(*this), m_withVtableInterface(withVtableInterface), m_typeInfo(LoadDialogTypeInfo())
    {
        ++g_liveObjects;
    }
    ~DialogObject() { --g_liveObjects; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        *object = nullptr;
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IBabylonDictionaryDialog)
            *object = static_cast<IBabylonDictionaryDialog*>(this);
        else if (riid == IID_IDictionaryDialog && m_withVtableInterface)
            *object = static_cast<IDictionaryDialog*>(&m_vtable);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        *count = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override
    {
        *info = nullptr;
        if (index != 0)
            return DISP_E_BADINDEX;
        return m_typeInfo ? m_typeInfo.CopyTo(info) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        return m_typeInfo ? ::DispGetIDsOfNames(m_typeInfo.Get(), names, count, ids) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id,
                                     REFIID,
                                     LCID,
                                     WORD flags,
                                     DISPPARAMS* parameters,
                                     VARIANT* result,
                                     EXCEPINFO* exception,
                                     UINT* argumentError) override
    {
        if (!m_typeInfo)
            return E_FAIL;
        return ::DispInvoke(static_cast<IBabylonDictionaryDialog*>(this), m_typeInfo.Get(), id, flags, parameters,
                            result, exception, argumentError);
    }

    HRESULT STDMETHODCALLTYPE ShowDictionaryDialog(BSTR url, BSTR direction, VARIANT browser) override
    {
        m_stuckOnDetach = AsksForAStuckDetach(url);
        return RecordCall("dispatch", url, direction, browser);
    }
    HRESULT STDMETHODCALLTYPE Detach() override { return RecordDetach("dispatch", m_stuckOnDetach); }
    HRESULT STDMETHODCALLTYPE DocumentComplete(IDispatch*, VARIANT*) override { return S_OK; }

private:
    // IDictionaryDialog has the dual interface's method names, so it lives in its own part.
    class VtablePart final : public IDictionaryDialog {
    public:
        explicit VtablePart(DialogObject& outer) : m_outer(outer) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
        {
            return m_outer.QueryInterface(riid, object);
        }
        ULONG STDMETHODCALLTYPE AddRef() override { return m_outer.AddRef(); }
        ULONG STDMETHODCALLTYPE Release() override { return m_outer.Release(); }
        HRESULT STDMETHODCALLTYPE ShowDictionaryDialog(BSTR url, BSTR direction, VARIANT browser) override
        {
            m_outer.m_stuckOnDetach = AsksForAStuckDetach(url);
            return RecordCall("vtable", url, direction, browser);
        }
        HRESULT STDMETHODCALLTYPE Detach() override { return RecordDetach("vtable", m_outer.m_stuckOnDetach); }

    private:
        DialogObject& m_outer;
    };

    VtablePart m_vtable;
    bool m_withVtableInterface;
    bool m_stuckOnDetach = false;
    ComPtr<ITypeInfo> m_typeInfo;
};

class DialogClass final : public wintest::TestClassFactory {
public:
    explicit DialogClass(bool withVtableInterface) : m_withVtableInterface(withVtableInterface) {}

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override
    {
        *object = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        auto* created = new (std::nothrow) DialogObject(m_withVtableInterface);
        if (!created)
            return E_OUTOFMEMORY;
        return wintest::Adopt(created)->QueryInterface(riid, object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override
    {
        lock ? ++g_liveObjects : --g_liveObjects;
        return S_OK;
    }

private:
    bool m_withVtableInterface;
};
}  // namespace

std::vector<std::string> ReadCalls()
{
    std::vector<std::string> calls;
    std::ifstream in(CallsFile(), std::ios::binary);
    for (std::string line; std::getline(in, line);)
        calls.push_back(line);
    return calls;
}

void ClearCalls()
{
    std::error_code ignored;
    std::filesystem::remove(CallsFile(), ignored);
}

ComPtr<IClassFactory> MakeClassObject(const CLSID& clsid)
{
    return wintest::Adopt<IClassFactory>(new DialogClass(clsid == kVtableDialogClsid));
}

long LiveObjects()
{
    return g_liveObjects;
}

}  // namespace testdialogs
