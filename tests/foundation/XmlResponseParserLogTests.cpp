// The parser's logs are process-wide and read the "log" switch once, so each case runs in a child.
#include <filesystem>
#include <string>

#include "foundation/config/Environment.h"
#include "foundation/config/Settings.h"
#include "foundation/log/Log.h"
#include "foundation/xml/XmlResponseParser.h"
#include "tests/foundation/XmlTestSupport.h"
#include "tests/support/IsolatedProfile.h"

namespace {
using xmltest::FakePage;

// Exit code: how often the body of an XML page was asked for.
VOCABRA_CHILD_ROLE(parse_response_pages)
{
    xmltest::Apartment apartment;
    FakePage xml;
    xml.xml = u"<html status='1'/>";
    xml.body = u"page body";
    const XML::CXMLResponseParser fromXml(&xml);

    FakePage unreadable;
    unreadable.xml = u"";
    unreadable.xmlReadable = false;
    const XML::CXMLResponseParser fromUnreadable(&unreadable);

    FakePage broken;
    broken.xml = u"<html>";
    const XML::CXMLResponseParser fromBroken(&broken);

    FakePage text;
    text.body = u" <status>0</status> ";
    const XML::CXMLResponseParser fromText(&text);
    return xml.bodyRequests;
}

using XmlResponseParserLogTest = testsupport::LoggingTest;

TEST_F(XmlResponseParserLogTest, ProgressAndFailuresAreLoggedWithTheirLabels)
{
    Settings().key.SetDWORD(u"log", 1);
    EXPECT_EQ(testsupport::RunChild("parse_response_pages", {}), 1);
    EXPECT_EQ(testsupport::ReadFileBytes(LogFile()),
              "CXMLResponseParser\t- Parsing html:\npage body\r\n"
              "CXMLResponseParser::XMLDocumentParser\t- Cannot get XML...\r\n"
              "CXMLResponseParser::XMLDocumentParser\t- Cannot parse XML...\r\n"
              "CXMLResponseParser\t- Parsing html:\n <status>0</status> \r\n"
              "CXMLResponseParser\t- Parsing html as text:\n <status>0</status> \r\n");
}

TEST_F(XmlResponseParserLogTest, WithoutTheLogTheBodyOfAnXmlPageIsNotRead)
{
    EXPECT_EQ(testsupport::RunChild("parse_response_pages", {}), 0);
    EXPECT_FALSE(std::filesystem::exists(LogFile()));
}

}  // namespace
