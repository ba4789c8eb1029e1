#include <windows.h>

#include <thread>

#include "foundation/xml/XmlResponseParser.h"
#include "tests/foundation/XmlTestSupport.h"

namespace {

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

}  // namespace
