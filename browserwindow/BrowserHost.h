#pragma once
// A WebBrowser control placed in a window of ours: a small OLE container. One object owns the
// reference count; each interface the control asks its container for is a small part of it that
// forwards to the whole:
//   - the client site, with the document host's user-interface handler (no 3-D border; scroll
//     bars as the page wants them) that the control asks the site for;
//   - the in-place site and the frame, which place the control in the window; the frame keeps
//     the control's active object, which is offered the window's keys (OfferKey);
//   - the sink of the browser's events, which gives the window the title of each top-level
//     document.
// The control fills the window's client area and follows it (Resize).

#include <windows.h>

#include <exdisp.h>
#include <mshtmhst.h>
#include <oleidl.h>
#include <wrl/client.h>

#include <atomic>

namespace browserwindow {

class BrowserHost final {
public:
    // The control, created and in-place active in the whole client area of `window`; null when
    // the control cannot be had.
    static Microsoft::WRL::ComPtr<BrowserHost> Create(HWND window);

    HRESULT QueryInterface(REFIID riid, void** object);
    ULONG AddRef();
    ULONG Release();

    IWebBrowser2* Browser() const { return m_browser.Get(); }
    // The control fills the client area again.
    void Resize();
    // Offers a keyboard message to the page (Tab, Ctrl+C, the arrows...); true when the page took it.
    bool OfferKey(MSG& key);
    // Ends the control: events unadvised, deactivated, closed, and the site taken back. The host
    // is no longer used afterwards, though the control may still hold references to it.
    void Close();

    // A document has finished loading in `completed` (the browser's events call this).
    void OnDocumentComplete(IDispatch* completed);

private:
    explicit BrowserHost(HWND window);
    ~BrowserHost() = default;
    HRESULT Embed();
    RECT ClientArea() const;

    // The parts, each forwarding IUnknown to the host; each is defined in a file of its own.
    class ClientSite final : public IOleClientSite {
    public:
        explicit ClientSite(BrowserHost& host) : m_host(host) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
        ULONG STDMETHODCALLTYPE AddRef() override { return m_host.AddRef(); }
        ULONG STDMETHODCALLTYPE Release() override { return m_host.Release(); }
        HRESULT STDMETHODCALLTYPE SaveObject() override;
        HRESULT STDMETHODCALLTYPE GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
        HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override;
        HRESULT STDMETHODCALLTYPE ShowObject() override;
        HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL show) override;
        HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override;

    private:
        BrowserHost& m_host;
    };

    class InPlaceSite final : public IOleInPlaceSite {
    public:
        explicit InPlaceSite(BrowserHost& host) : m_host(host) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
        ULONG STDMETHODCALLTYPE AddRef() override { return m_host.AddRef(); }
        ULONG STDMETHODCALLTYPE Release() override { return m_host.Release(); }
        HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
        HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enter) override;
        HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override;
        HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override;
        HRESULT STDMETHODCALLTYPE OnUIActivate() override;
        HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame,
                                                   IOleInPlaceUIWindow** document,
                                                   RECT* position,
                                                   RECT* clip,
                                                   OLEINPLACEFRAMEINFO* frameInfo) override;
        HRESULT STDMETHODCALLTYPE Scroll(SIZE extent) override;
        HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL undoable) override;
        HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override;
        HRESULT STDMETHODCALLTYPE DiscardUndoState() override;
        HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override;
        HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT position) override;

    private:
        BrowserHost& m_host;
    };

    class Frame final : public IOleInPlaceFrame {
    public:
        explicit Frame(BrowserHost& host) : m_host(host) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
        ULONG STDMETHODCALLTYPE AddRef() override { return m_host.AddRef(); }
        ULONG STDMETHODCALLTYPE Release() override { return m_host.Release(); }
        HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
        HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enter) override;
        HRESULT STDMETHODCALLTYPE GetBorder(LPRECT border) override;
        HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS widths) override;
        HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS widths) override;
        HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR name) override;
        HRESULT STDMETHODCALLTYPE InsertMenus(HMENU shared, LPOLEMENUGROUPWIDTHS widths) override;
        HRESULT STDMETHODCALLTYPE SetMenu(HMENU shared, HOLEMENU descriptor, HWND activeObject) override;
        HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU shared) override;
        HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR text) override;
        HRESULT STDMETHODCALLTYPE EnableModeless(BOOL enable) override;
        HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG message, WORD id) override;

    private:
        BrowserHost& m_host;
    };

    class UiHandler final : public IDocHostUIHandler {
    public:
        explicit UiHandler(BrowserHost& host) : m_host(host) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
        ULONG STDMETHODCALLTYPE AddRef() override { return m_host.AddRef(); }
        ULONG STDMETHODCALLTYPE Release() override { return m_host.Release(); }
        HRESULT STDMETHODCALLTYPE ShowContextMenu(DWORD id, POINT* point, IUnknown* target, IDispatch* object) override;
        HRESULT STDMETHODCALLTYPE GetHostInfo(DOCHOSTUIINFO* info) override;
        HRESULT STDMETHODCALLTYPE ShowUI(DWORD id,
                                         IOleInPlaceActiveObject* active,
                                         IOleCommandTarget* commands,
                                         IOleInPlaceFrame* frame,
                                         IOleInPlaceUIWindow* document) override;
        HRESULT STDMETHODCALLTYPE HideUI() override;
        HRESULT STDMETHODCALLTYPE UpdateUI() override;
        HRESULT STDMETHODCALLTYPE EnableModeless(BOOL enable) override;
        HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL activate) override;
        HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL activate) override;
        HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frameWindow) override;
        HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG message, const GUID* group, DWORD id) override;
        HRESULT STDMETHODCALLTYPE GetOptionKeyPath(LPOLESTR* key, DWORD reserved) override;
        HRESULT STDMETHODCALLTYPE GetDropTarget(IDropTarget* target, IDropTarget** replacement) override;
        HRESULT STDMETHODCALLTYPE GetExternal(IDispatch** external) override;
        HRESULT STDMETHODCALLTYPE TranslateUrl(DWORD translate, LPWSTR url, LPWSTR* translated) override;
        HRESULT STDMETHODCALLTYPE FilterDataObject(IDataObject* object, IDataObject** replacement) override;

    private:
        BrowserHost& m_host;
    };

    // DWebBrowserEvents2, a dispatch interface: only DocumentComplete is read.
    class Events final : public IDispatch {
    public:
        explicit Events(BrowserHost& host) : m_host(host) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
        ULONG STDMETHODCALLTYPE AddRef() override { return m_host.AddRef(); }
        ULONG STDMETHODCALLTYPE Release() override { return m_host.Release(); }
        HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
        HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
        HRESULT STDMETHODCALLTYPE
        GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
        HRESULT STDMETHODCALLTYPE Invoke(DISPID id,
                                         REFIID riid,
                                         LCID locale,
                                         WORD flags,
                                         DISPPARAMS* parameters,
                                         VARIANT* result,
                                         EXCEPINFO* exception,
                                         UINT* argumentError) override;

    private:
        BrowserHost& m_host;
    };

    std::atomic<ULONG> m_references{1};
    HWND m_window;
    ClientSite m_clientSite{*this};
    InPlaceSite m_inPlaceSite{*this};
    Frame m_frame{*this};
    UiHandler m_uiHandler{*this};
    Events m_events{*this};

    Microsoft::WRL::ComPtr<IOleObject> m_control;
    Microsoft::WRL::ComPtr<IWebBrowser2> m_browser;
    // Set by the control through the frame while it is active in the user interface.
    Microsoft::WRL::ComPtr<IOleInPlaceActiveObject> m_activeObject;
    Microsoft::WRL::ComPtr<IConnectionPoint> m_eventSource;
    DWORD m_eventCookie = 0;
};

}  // namespace browserwindow
