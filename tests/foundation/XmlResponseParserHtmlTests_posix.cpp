// Answer pages as a browser shows them, with libxml2's HTML parser standing in for MSHTML.
#include <libxml/HTMLparser.h>

#include <memory>
#include <string>

#include "foundation/text/Utf.h"
#include "foundation/xml/XmlResponseParser.h"
#include "tests/foundation/XmlTestSupport.h"

namespace {
using xmltest::FakePage;

struct FreeDocument {
    void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
};
struct FreeText {
    void operator()(xmlChar* text) const { xmlFree(text); }
};

// The page's body text, roughly as innerText gives it: the text content of <body>.
std::optional<std::u16string> BodyText(const std::string& html)
{
    std::unique_ptr<xmlDoc, FreeDocument> document(
        htmlReadMemory(html.data(), static_cast<int>(html.size()), nullptr, "UTF-8",
                       HTML_PARSE_NONET | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING));
    const xmlNode* root = document ? xmlDocGetRootElement(document.get()) : nullptr;
    for (const xmlNode* child = root ? root->children : nullptr; child; child = child->next) {
        if (child->type == XML_ELEMENT_NODE && xmlStrEqual(child->name, BAD_CAST "body")) {
            std::unique_ptr<xmlChar, FreeText> text(xmlNodeGetContent(child));
            return text::Utf8ToUtf16(text ? reinterpret_cast<const char*>(text.get()) : "");
        }
    }
    return std::nullopt;
}

FakePage HtmlPage(const std::string& html)
{
    FakePage page;
    page.body = BodyText(html);
    return page;
}

TEST(XmlResponseParserHtml, AnXmlAnswerShownAsHtmlIsReadFromItsText)
{
    FakePage page = HtmlPage(
        "<html><head><title>Answer</title></head><body><pre>&lt;?xml version=\"1.0\"?&gt;\n"
        "&lt;answer&gt;&lt;status&gt;0&lt;/status&gt;&lt;word&gt;&amp;quot;&amp;lt;b&amp;gt;&amp;amp;&amp;amp;lt;"
        "&lt;/word&gt;&lt;/answer&gt;</pre></body></html>");
    XML::CXMLResponseParser parser(&page);
    ASSERT_NE(parser.GetParser(), nullptr);
    EXPECT_EQ(parser.GetParser()->GetValue(u"/", u"status"), u"0");
    EXPECT_EQ(parser.GetParser()->GetValue(u"/", u"word"), u"\"<b>&&lt;");
    EXPECT_FALSE(parser.GetParser()->GetAttribute(u"/", u"answer", u"status"));
}

}  // namespace
