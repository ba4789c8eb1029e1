#include "dialogserver/dialogs/mshtml/MshtmlBrowserDocument_win32.h"
#include "dialogserver/dialogs/mshtml/MshtmlDom_win32.h"
#include "foundation/xml/XmlResponseParser.h"

namespace dialogserver::mshtml {

std::unique_ptr<dom::Document> MshtmlResultPage::Document()
{
    return OpenMshtmlDocument(m_browser.Get());
}

std::unique_ptr<XML::CXMLResponseParser> MshtmlResultPage::ResponseParser()
{
    const std::unique_ptr<XML::BrowserDocument> page = OpenBrowserDocument(m_browser.Get());
    return std::make_unique<XML::CXMLResponseParser>(page.get());
}

}  // namespace dialogserver::mshtml
