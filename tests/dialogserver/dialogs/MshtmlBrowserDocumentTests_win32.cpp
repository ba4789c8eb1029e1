#include <windows.h>

#include <exdisp.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include "dialogserver/dialogs/mshtml/MshtmlBrowserDocument_win32.h"
#include "foundation/win32api/ComApartment_win32.h"
#include "foundation/xml/XmlResponseParser.h"

namespace {
using Microsoft::WRL::ComPtr;

class BrowserDocumentTest : public ::testing::Test {
    Win32::API::ComApartment m_apartment{COINIT_APARTMENTTHREADED};
};

// Wine has no HTML engine: its WebBrowser control never has a document, so the page is neither
// XML nor has a body, and no parser is made. Anything that is not a browser has no page at all.
TEST_F(BrowserDocumentTest, OnlyAWebBrowserHasAPage)
{
    using dialogserver::mshtml::OpenBrowserDocument;
    EXPECT_EQ(OpenBrowserDocument(nullptr), nullptr);
    ComPtr<IUnknown> notABrowser;
    ASSERT_HRESULT_SUCCEEDED(
        CoCreateInstance(CLSID_StdGlobalInterfaceTable, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&notABrowser)));
    EXPECT_EQ(OpenBrowserDocument(notABrowser.Get()), nullptr);

    ComPtr<IWebBrowser2> browser;
    ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&browser)));
    const std::unique_ptr<XML::BrowserDocument> page = OpenBrowserDocument(browser.Get());
    ASSERT_NE(page, nullptr);
    std::optional<std::u16string> xml;
    EXPECT_FALSE(page->GetXml(xml));
    EXPECT_FALSE(page->BodyText());
    EXPECT_EQ(XML::CXMLResponseParser(page.get()).GetParser(), nullptr);
}

}  // namespace
