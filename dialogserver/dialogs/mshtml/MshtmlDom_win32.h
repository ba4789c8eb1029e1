#pragma once
// The DOM interface on MSHTML, for the page steps on Windows. (Wine has no HTML engine: this is
// compiled there, but the steps are tested natively on another implementation.)

#include <oaidl.h>
#include <unknwn.h>
#include <wrl/client.h>

#include <memory>
#include <string_view>

#include "dialogserver/dialogs/DialogHost.h"
#include "dialogserver/dialogs/dom/HtmlDom.h"

namespace dialogserver::mshtml {

// The current document of a browser object (anything answering IWebBrowser2); null when the
// object is not a browser or shows no HTML document.
std::unique_ptr<dom::Document> OpenMshtmlDocument(IUnknown* browser);

// The object that the property `name` of `object` holds, looked up and read (property get) through
// IDispatch in `locale`; null when `object` is null, or the property is missing or no object.
Microsoft::WRL::ComPtr<IDispatch> ObjectProperty(IDispatch* object, std::u16string_view name, LCID locale);

// The callable property `name` of a page's window, looked up and read (property get) through the
// window's IDispatch with the system default locale; null when missing or not an object. Calls
// go to the object's default member as methods, arguments in dispatch order (last first).
std::unique_ptr<dom::ScriptFunction> FindWindowFunction(IDispatch* window, std::u16string_view name);

// The event's browser object (DocumentComplete's pDisp) as the steps see a result page.
class MshtmlResultPage final : public dialogs::ResultPage {
public:
    explicit MshtmlResultPage(IUnknown* browser) : m_browser(browser) {}

    std::unique_ptr<dom::Document> Document() override;
    std::unique_ptr<XML::CXMLResponseParser> ResponseParser() override;

private:
    Microsoft::WRL::ComPtr<IUnknown> m_browser;
};

}  // namespace dialogserver::mshtml
