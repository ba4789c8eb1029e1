#pragma once
// What every dialog object does with its browser: opens (or takes over) a window, listens to its
// events, shows the service's information page there, and lets go of it again. The services'
// own steps, run when pages finish loading, are handed the finished page.

#include <windows.h>

#include <exdisp.h>
#include <wrl/client.h>

#include <functional>
#include <string>

#include "dialogserver/server/DialogClasses_win32.h"
#include "foundation/config/Properties.h"
#include "foundation/config/Settings.h"

namespace dialogserver {

class DictionaryDialog {
public:
    // Reads the service's properties and the information page's address; holds a server lock
    // for its lifetime. `owner` is the COM object carrying it (not owned), which the page's
    // event handlers keep alive while the page holds them.
    DictionaryDialog(const DialogClass& dialogClass, IUnknown* owner);
    ~DictionaryDialog();
    DictionaryDialog(const DictionaryDialog&) = delete;
    DictionaryDialog& operator=(const DictionaryDialog&) = delete;

    // ShowDictionaryDialog: S_OK when the window shows the information page, else E_FAIL. `sink`
    // is the object's own event interface, connected to the browser's events.
    HRESULT Show(BSTR url, const VARIANT& forceBrowser, IUnknown* sink);
    // Cancels the event connection and gives the browser up; nothing without a browser.
    void Detach();
    // A document has finished loading in `page` (the window or one of its frames).
    void OnDocumentComplete(IDispatch* page, const VARIANT* url);

    const DialogClass& Class() const { return m_class; }
    IUnknown* Owner() const { return m_owner; }
    const std::u16string& Url() const { return m_url; }
    const std::u16string& InformationPageUrl() const { return m_infoPageUrl; }
    IWebBrowser2* Browser() const { return m_browser.Get(); }
    const Settings& Configuration() const { return m_settings; }
    Properties& ServiceProperties() { return m_properties; }

private:
    HRESULT OpenNewWindow();

    const DialogClass& m_class;
    IUnknown* const m_owner;
    DWORD m_cookie = 0;
    Microsoft::WRL::ComPtr<IWebBrowser2> m_browser;
    std::u16string m_url;
    std::u16string m_infoPageUrl;
    Properties m_properties;
    Settings m_settings;
    std::int32_t m_width = 0;
    std::int32_t m_height = 0;
};

}  // namespace dialogserver
