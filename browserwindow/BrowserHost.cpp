// The container's whole: creating the control, placing it, its identity and its end.
#include "browserwindow/BrowserHost.h"

#include <exdispid.h>
#include <ocidl.h>

#include <new>

#include "browserwindow/DocumentTitle.h"

using Microsoft::WRL::ComPtr;

namespace browserwindow {
namespace {
// CLSID_WebBrowser, spelled out so that no import library has to provide it.
constexpr CLSID kWebBrowserClassId = {0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};
}  // namespace

BrowserHost::BrowserHost(HWND window) : m_window(window) {}

ComPtr<BrowserHost> BrowserHost::Create(HWND window)
{
    ComPtr<BrowserHost> host;
    // The new object's one reference goes to `host`.
    *host.GetAddressOf() = new (std::nothrow) BrowserHost(window);
    if (!host || FAILED(host->Embed())) {
        if (host)
            host->Close();
        return nullptr;
    }
    return host;
}

HRESULT BrowserHost::Embed()
{
    HRESULT hr =
        ::CoCreateInstance(kWebBrowserClassId, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(m_control.GetAddressOf()));
    if (FAILED(hr))
        return hr;
    hr = m_control->SetClientSite(&m_clientSite);
    if (FAILED(hr))
        return hr;
    RECT area = ClientArea();
    hr = m_control->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &m_clientSite, 0, m_window, &area);
    if (FAILED(hr))
        return hr;
    hr = m_control.As(&m_browser);
    if (FAILED(hr))
        return hr;

    // The events bring the documents' titles; a browser without them still shows pages.
    ComPtr<IConnectionPointContainer> sources;
    if (SUCCEEDED(m_control.As(&sources)) &&
        SUCCEEDED(sources->FindConnectionPoint(DIID_DWebBrowserEvents2, m_eventSource.GetAddressOf())) &&
        FAILED(m_eventSource->Advise(&m_events, &m_eventCookie))) {
        m_eventSource.Reset();
    }
    return S_OK;
}

HRESULT BrowserHost::QueryInterface(REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (riid == IID_IUnknown || riid == IID_IOleClientSite)
        *object = static_cast<IOleClientSite*>(&m_clientSite);
    else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite)
        *object = static_cast<IOleInPlaceSite*>(&m_inPlaceSite);
    else if (riid == IID_IOleInPlaceUIWindow || riid == IID_IOleInPlaceFrame)
        *object = static_cast<IOleInPlaceFrame*>(&m_frame);
    else if (riid == IID_IDocHostUIHandler)
        *object = static_cast<IDocHostUIHandler*>(&m_uiHandler);
    else if (riid == IID_IDispatch || riid == DIID_DWebBrowserEvents2)
        *object = static_cast<IDispatch*>(&m_events);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG BrowserHost::AddRef()
{
    return ++m_references;
}

ULONG BrowserHost::Release()
{
    const ULONG remaining = --m_references;
    if (remaining == 0)
        delete this;
    return remaining;
}

RECT BrowserHost::ClientArea() const
{
    RECT area{};
    ::GetClientRect(m_window, &area);
    return area;
}

void BrowserHost::Resize()
{
    ComPtr<IOleInPlaceObject> placed;
    if (m_control && SUCCEEDED(m_control.As(&placed))) {
        const RECT area = ClientArea();
        placed->SetObjectRects(&area, &area);
    }
}

bool BrowserHost::OfferKey(MSG& key)
{
    // Held for the call: the page's key may end this host.
    const ComPtr<IOleInPlaceActiveObject> page = m_activeObject;
    return page && page->TranslateAccelerator(&key) == S_OK;
}

void BrowserHost::Close()
{
    if (m_eventSource) {
        m_eventSource->Unadvise(m_eventCookie);
        m_eventSource.Reset();
    }
    m_browser.Reset();
    if (m_control) {
        ComPtr<IOleInPlaceObject> placed;
        if (SUCCEEDED(m_control.As(&placed)))
            placed->InPlaceDeactivate();
        m_control->Close(OLECLOSE_NOSAVE);
        m_control->SetClientSite(nullptr);
        m_control.Reset();
    }
    m_window = nullptr;
    m_activeObject.Reset();
}

void BrowserHost::OnDocumentComplete(IDispatch* completed)
{
    ShowDocumentTitle(m_window, completed, m_browser.Get());
}

}  // namespace browserwindow
