#include "dialogserver/dialogs/mshtml/MshtmlBrowserDocument_win32.h"

#include <exdisp.h>
#include <mshtml.h>
#include <wrl/client.h>

#include "dialogserver/dialogs/mshtml/MshtmlDom_win32.h"
#include "foundation/win32api/ComValues_win32.h"
#include "foundation/xml/MsxmlCompat_win32.h"

using Microsoft::WRL::ComPtr;
using Win32::API::Bstr;

namespace dialogserver::mshtml {
namespace {

class MshtmlBrowserDocument : public XML::BrowserDocument {
public:
    explicit MshtmlBrowserDocument(ComPtr<IHTMLDocument2> document) : m_document(std::move(document)) {}

    bool GetXml(std::optional<std::u16string>& xml) override
    {
        ComPtr<IDispatch> document = XmlDocumentObject();
        if (!document)
            return false;
        ComPtr<IXMLDOMDocument2> extended;
        ComPtr<IXMLDOMDocument> plain;
        IXMLDOMDocument* dom = nullptr;
        if (SUCCEEDED(document.As(&extended)))
            dom = extended.Get();
        else if (SUCCEEDED(document.As(&plain)))
            dom = plain.Get();
        else
            return false;
        Bstr text;
        if (SUCCEEDED(dom->get_xml(text.Receive())))
            xml = text.Text();
        return true;
    }

    std::optional<std::u16string> BodyText() override
    {
        ComPtr<IHTMLElement> body;
        Bstr text;
        if (!m_document || m_document->get_body(&body) != S_OK || !body || FAILED(body->get_innerText(text.Receive())))
            return std::nullopt;
        return text.Text();
    }

private:
    // The document's "XMLDocument" property, read by name: an XML page shows its DOM there.
    ComPtr<IDispatch> XmlDocumentObject()
    {
        return ObjectProperty(m_document.Get(), u"XMLDocument", LOCALE_USER_DEFAULT);
    }

    ComPtr<IHTMLDocument2> m_document;
};

}  // namespace

std::unique_ptr<XML::BrowserDocument> OpenBrowserDocument(IUnknown* browser)
{
    ComPtr<IWebBrowser2> webBrowser;
    if (!browser || FAILED(browser->QueryInterface(IID_PPV_ARGS(&webBrowser))))
        return nullptr;
    ComPtr<IDispatch> current;
    ComPtr<IHTMLDocument2> document;
    if (webBrowser->get_Document(&current) == S_OK && current)
        current.As(&document);
    return std::make_unique<MshtmlBrowserDocument>(std::move(document));
}

}  // namespace dialogserver::mshtml
