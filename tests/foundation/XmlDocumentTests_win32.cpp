#include <windows.h>

#include <exdisp.h>
#include <wrl/client.h>

#include <thread>

#include "foundation/xml/MshtmlBrowserDocument_win32.h"
#include "foundation/xml/XmlResponseParser.h"
#include "tests/foundation/XmlTestSupport.h"

namespace {
using Microsoft::WRL::ComPtr;

TEST(XmlDocumentWin32, WithoutComTheDocumentAnswersNothing)
{
    bool created = true;
    bool loaded = true;
    bool rooted = true;
    bool found = true;
    std::thread bare([&] {
        XmlDocument document(u"<r a='1'/>");
        created = document.IsCreated();
        loaded = document.LoadXml(u"<r a='1'/>");
        rooted = !document.RootElement().IsEmpty();
        found = XML::CXMLResponseParser::XMLDocumentParser(u"<r a='1'/>").GetAttribute(u"/", u"r", u"a").has_value();
    });
    bare.join();
    EXPECT_FALSE(created);
    EXPECT_FALSE(loaded);
    EXPECT_FALSE(rooted);
    EXPECT_FALSE(found);
}

class BrowserDocumentTest : public xmltest::XmlTest {};

// Wine has no HTML engine: its WebBrowser control never has a document, so the page is neither
// XML nor has a body, and no parser is made. Anything that is not a browser has no page at all.
TEST_F(BrowserDocumentTest, OnlyAWebBrowserHasAPage)
{
    EXPECT_EQ(XML::OpenBrowserDocument(nullptr), nullptr);
    ComPtr<IUnknown> notABrowser;
    ASSERT_HRESULT_SUCCEEDED(
        CoCreateInstance(CLSID_StdGlobalInterfaceTable, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&notABrowser)));
    EXPECT_EQ(XML::OpenBrowserDocument(notABrowser.Get()), nullptr);

    ComPtr<IWebBrowser2> browser;
    ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&browser)));
    const std::unique_ptr<XML::BrowserDocument> page = XML::OpenBrowserDocument(browser.Get());
    ASSERT_NE(page, nullptr);
    std::optional<std::u16string> xml;
    EXPECT_FALSE(page->GetXml(xml));
    EXPECT_FALSE(page->BodyText());
    EXPECT_EQ(XML::CXMLResponseParser(page.get()).GetParser(), nullptr);
}

}  // namespace
