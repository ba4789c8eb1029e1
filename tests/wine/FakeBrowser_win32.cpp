#include "tests/wine/FakeBrowser_win32.h"

#include "tests/wine/Adopt_win32.h"
#include "tests/wine/RefCounted_win32.h"

#include <new>
#include <utility>

using Microsoft::WRL::ComPtr;

namespace wintest {
namespace {

std::string Narrow(const wchar_t* text)
{
    std::string result;
    for (; text && *text; ++text)
        result += *text < 0x80 ? static_cast<char>(*text) : '?';
    return result;
}

std::string Describe(const VARIANT* value)
{
    if (!value)
        return "null";
    std::string text = std::to_string(value->vt);
    if (value->vt == VT_I4)
        text += ":" + std::to_string(value->lVal);
    return text;
}

#define VOCABRA_UNUSED_CALL(name, parameters)          \
    HRESULT STDMETHODCALLTYPE name parameters override \
    {                                                  \
        return E_NOTIMPL;                              \
    }

class FakeBrowser final : public TRefCounted<IWebBrowser2> {
public:
    explicit FakeBrowser(std::shared_ptr<BrowserScript> script) : m_script(std::move(script)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IWebBrowser || riid == IID_IWebBrowserApp ||
            riid == IID_IWebBrowser2) {
            *object = static_cast<IWebBrowser2*>(this);
            AddRef();
            return S_OK;
        }
        if (riid == IID_IConnectionPointContainer && m_script->events)
            return m_script->events.CopyTo(reinterpret_cast<IConnectionPointContainer**>(object));
        *object = nullptr;
        return E_NOINTERFACE;
    }

    HRESULT STDMETHODCALLTYPE
    Navigate(BSTR url, VARIANT* flags, VARIANT* frame, VARIANT* postData, VARIANT* headers) override
    {
        try {
            m_script->calls.push_back("Navigate " + Narrow(url) + " flags=" + Describe(flags) +
                                      " frame=" + Describe(frame) + " post=" + Describe(postData) +
                                      " headers=" + Describe(headers));
        } catch (...) {
            return E_OUTOFMEMORY;
        }
        return m_script->navigateResult;
    }
    HRESULT STDMETHODCALLTYPE put_Left(LONG value) override { return Record("Left", value); }
    HRESULT STDMETHODCALLTYPE put_Top(LONG value) override { return Record("Top", value); }
    HRESULT STDMETHODCALLTYPE put_Width(LONG value) override { return Record("Width", value); }
    HRESULT STDMETHODCALLTYPE put_Height(LONG value) override { return Record("Height", value); }
    HRESULT STDMETHODCALLTYPE put_AddressBar(VARIANT_BOOL value) override { return Record("AddressBar", value); }
    HRESULT STDMETHODCALLTYPE put_MenuBar(VARIANT_BOOL value) override { return Record("MenuBar", value); }
    HRESULT STDMETHODCALLTYPE put_StatusBar(VARIANT_BOOL value) override { return Record("StatusBar", value); }
    HRESULT STDMETHODCALLTYPE put_ToolBar(int value) override { return Record("ToolBar", value); }
    HRESULT STDMETHODCALLTYPE put_Visible(VARIANT_BOOL value) override
    {
        m_visible = value;
        return Record("Visible", value);
    }
    HRESULT STDMETHODCALLTYPE get_Visible(VARIANT_BOOL* value) override
    {
        *value = m_visible;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Document(IDispatch** document) override
    {
        *document = nullptr;
        return m_script->document ? m_script->document.CopyTo(document) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE get_HWND(SHANDLE_PTR* window) override
    {
        *window = reinterpret_cast<SHANDLE_PTR>(m_script->window);
        return S_OK;
    }

    VOCABRA_UNUSED_CALL(GetTypeInfoCount, (UINT*))
    VOCABRA_UNUSED_CALL(GetTypeInfo, (UINT, LCID, ITypeInfo**))
    VOCABRA_UNUSED_CALL(GetIDsOfNames, (REFIID, LPOLESTR*, UINT, LCID, DISPID*))
    VOCABRA_UNUSED_CALL(Invoke, (DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*))
    VOCABRA_UNUSED_CALL(GoBack, ())
    VOCABRA_UNUSED_CALL(GoForward, ())
    VOCABRA_UNUSED_CALL(GoHome, ())
    VOCABRA_UNUSED_CALL(GoSearch, ())
    VOCABRA_UNUSED_CALL(Refresh, ())
    VOCABRA_UNUSED_CALL(Refresh2, (VARIANT*))
    VOCABRA_UNUSED_CALL(Stop, ())
    VOCABRA_UNUSED_CALL(get_Application, (IDispatch**))
    VOCABRA_UNUSED_CALL(get_Parent, (IDispatch**))
    VOCABRA_UNUSED_CALL(get_Container, (IDispatch**))
    VOCABRA_UNUSED_CALL(get_TopLevelContainer, (VARIANT_BOOL*))
    VOCABRA_UNUSED_CALL(get_Type, (BSTR*))
    VOCABRA_UNUSED_CALL(get_Left, (LONG*))
    VOCABRA_UNUSED_CALL(get_Top, (LONG*))
    VOCABRA_UNUSED_CALL(get_Width, (LONG*))
    VOCABRA_UNUSED_CALL(get_Height, (LONG*))
    VOCABRA_UNUSED_CALL(get_LocationName, (BSTR*))
    VOCABRA_UNUSED_CALL(get_LocationURL, (BSTR*))
    VOCABRA_UNUSED_CALL(get_Busy, (VARIANT_BOOL*))
    VOCABRA_UNUSED_CALL(Quit, ())
    VOCABRA_UNUSED_CALL(ClientToWindow, (int*, int*))
    VOCABRA_UNUSED_CALL(PutProperty, (BSTR, VARIANT))
    VOCABRA_UNUSED_CALL(GetProperty, (BSTR, VARIANT*))
    VOCABRA_UNUSED_CALL(get_Name, (BSTR*))
    VOCABRA_UNUSED_CALL(get_FullName, (BSTR*))
    VOCABRA_UNUSED_CALL(get_Path, (BSTR*))
    VOCABRA_UNUSED_CALL(get_StatusBar, (VARIANT_BOOL*))
    VOCABRA_UNUSED_CALL(get_StatusText, (BSTR*))
    VOCABRA_UNUSED_CALL(put_StatusText, (BSTR))
    VOCABRA_UNUSED_CALL(get_ToolBar, (int*))
    VOCABRA_UNUSED_CALL(get_MenuBar, (VARIANT_BOOL*))
    VOCABRA_UNUSED_CALL(get_FullScreen, (VARIANT_BOOL*))
    VOCABRA_UNUSED_CALL(put_FullScreen, (VARIANT_BOOL))
    VOCABRA_UNUSED_CALL(Navigate2, (VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*))
    VOCABRA_UNUSED_CALL(QueryStatusWB, (OLECMDID, OLECMDF*))
    VOCABRA_UNUSED_CALL(ExecWB, (OLECMDID, OLECMDEXECOPT, VARIANT*, VARIANT*))
    VOCABRA_UNUSED_CALL(ShowBrowserBar, (VARIANT*, VARIANT*, VARIANT*))
    VOCABRA_UNUSED_CALL(get_ReadyState, (READYSTATE*))
    VOCABRA_UNUSED_CALL(get_Offline, (VARIANT_BOOL*))
    VOCABRA_UNUSED_CALL(put_Offline, (VARIANT_BOOL))
    VOCABRA_UNUSED_CALL(get_Silent, (VARIANT_BOOL*))
    VOCABRA_UNUSED_CALL(put_Silent, (VARIANT_BOOL))
    VOCABRA_UNUSED_CALL(get_RegisterAsBrowser, (VARIANT_BOOL*))
    VOCABRA_UNUSED_CALL(put_RegisterAsBrowser, (VARIANT_BOOL))
    VOCABRA_UNUSED_CALL(get_RegisterAsDropTarget, (VARIANT_BOOL*))
    VOCABRA_UNUSED_CALL(put_RegisterAsDropTarget, (VARIANT_BOOL))
    VOCABRA_UNUSED_CALL(get_TheaterMode, (VARIANT_BOOL*))
    VOCABRA_UNUSED_CALL(put_TheaterMode, (VARIANT_BOOL))
    VOCABRA_UNUSED_CALL(get_AddressBar, (VARIANT_BOOL*))
    VOCABRA_UNUSED_CALL(get_Resizable, (VARIANT_BOOL*))
    VOCABRA_UNUSED_CALL(put_Resizable, (VARIANT_BOOL))

private:
    HRESULT Record(const char* property, long value) noexcept
    {
        try {
            m_script->calls.push_back(std::string(property) + "=" + std::to_string(value));
        } catch (...) {
            return E_OUTOFMEMORY;
        }
        return S_OK;
    }

    VARIANT_BOOL m_visible = VARIANT_FALSE;
    std::shared_ptr<BrowserScript> m_script;
};

class FakeBrowserClass final : public TestClassFactory {
public:
    explicit FakeBrowserClass(std::shared_ptr<BrowserScript> script) : m_script(std::move(script)) {}

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override
    {
        *object = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        ++m_script->created;
        if (FAILED(m_script->createResult))
            return m_script->createResult;
        auto* created = new (std::nothrow) FakeBrowser(m_script);
        if (!created)
            return E_OUTOFMEMORY;
        return Adopt<IWebBrowser2>(created)->QueryInterface(riid, object);
    }

private:
    std::shared_ptr<BrowserScript> m_script;
};

}  // namespace

ComPtr<IWebBrowser2> MakeFakeBrowser(const std::shared_ptr<BrowserScript>& script)
{
    return Adopt<IWebBrowser2>(new FakeBrowser(script));
}

ComPtr<IClassFactory> MakeFakeBrowserClass(const std::shared_ptr<BrowserScript>& script)
{
    return Adopt<IClassFactory>(new FakeBrowserClass(script));
}

}  // namespace wintest
