#include <chrono>
#include <string>

#include "foundation/xml/XmlResponseParser.h"
#include "tests/foundation/XmlTestSupport.h"

namespace {
using xmltest::FakePage;
using Parser = XML::CXMLResponseParser;

constexpr char16_t kAnswer[] =
    u"<?xml version='1.0'?><html status='1'><body><div><a href='/first'>go</a></div>"
    u"<div><a href='/second'/></div><status>9</status></body></html>";

class XmlResponseParserTest : public xmltest::XmlTest {};

TEST_F(XmlResponseParserTest, XmlPagesAreReadWithXPath)
{
    FakePage page;
    page.xml = kAnswer;
    // The visible text would give another answer: the XML document comes first.
    page.body = u"<status>0</status>";
    Parser parser(&page);
    ASSERT_NE(parser.GetParser(), nullptr);
    const Parser::Parser& values = *parser.GetParser();
    EXPECT_EQ(values.GetAttribute(u"/", u"html", u"status"), u"1");
    EXPECT_EQ(values.GetAttribute(u"//div", u"a", u"href"), u"/first");
    EXPECT_EQ(values.GetValue(u"/", u"status"), u"9");
    EXPECT_EQ(values.GetValue(u"//div", u"a"), u"go");
    EXPECT_FALSE(values.GetValue(u"/", u"missing"));
    EXPECT_FALSE(values.GetAttribute(u"/", u"html", u"missing"));
    EXPECT_FALSE(values.GetValue(u"/", u"div"));
    EXPECT_EQ(values.GetText(), kAnswer);
}

TEST_F(XmlResponseParserTest, AnXmlPageThatCannotBeReadGivesAParserThatFindsNothing)
{
    for (bool readable : {false, true}) {
        FakePage page;
        page.xml = u"<html status='1'><unclosed></html>";
        page.xmlReadable = readable;
        page.body = u"<status>0</status>";
        Parser parser(&page);
        ASSERT_NE(parser.GetParser(), nullptr);
        EXPECT_FALSE(parser.GetParser()->GetAttribute(u"/", u"html", u"status"));
        EXPECT_FALSE(parser.GetParser()->GetValue(u"/", u"status"));
        EXPECT_EQ(parser.GetParser()->GetText(), readable ? *page.xml : u"");
    }
}

TEST_F(XmlResponseParserTest, OtherPagesAreSearchedAsText)
{
    FakePage page;
    page.body = u"  Result: <status>0</status>\n";
    Parser parser(&page);
    ASSERT_NE(parser.GetParser(), nullptr);
    EXPECT_EQ(parser.GetParser()->GetValue(u"anything", u"status"), u"0");
    EXPECT_FALSE(parser.GetParser()->GetAttribute(u"/", u"status", u"x"));
    EXPECT_EQ(parser.GetParser()->GetText(), *page.body);
}

TEST_F(XmlResponseParserTest, BlankOrMissingPagesGiveNoParser)
{
    FakePage blank;
    blank.body = u" \t\r\n\u00A0\u3000";
    EXPECT_EQ(Parser(&blank).GetParser(), nullptr);
    FakePage bodiless;
    EXPECT_EQ(Parser(&bodiless).GetParser(), nullptr);
    EXPECT_EQ(Parser(nullptr).GetParser(), nullptr);
}

TEST(TextResponseParser, FindsTheFirstOpenTagAndTheCloseTagAfterIt)
{
    const Parser::TextParser parser(u"</v>early <v a='1'>attr</v> < v>spaced</v> <v>first</v> <v>second</v>");
    EXPECT_EQ(parser.GetValue(u"", u"v"), u"first");
    EXPECT_EQ(Parser::TextParser(u"<v></v>").GetValue(u"", u"v"), u"");
    EXPECT_FALSE(Parser::TextParser(u"<v>never closed").GetValue(u"", u"v"));
    EXPECT_FALSE(Parser::TextParser(u"</v><V>case</V>").GetValue(u"", u"v"));
    EXPECT_FALSE(parser.GetAttribute(u"", u"v", u"a"));
}

TEST(TextResponseParser, DecodesFourEntitiesAmpersandLast)
{
    const Parser::TextParser parser(u"<v>&quot;&lt;&gt;&amp;|&amp;lt;|&amp;quot;|&#60;&#x3e;&apos;</v>");
    EXPECT_EQ(parser.GetValue(u"", u"v"), u"\"<>&|&lt;|&quot;|&#60;&#x3e;&apos;");
    // Stray and cut ampersands stay; a decoded entity is never read again.
    EXPECT_EQ(Parser::TextParser(u"<v>&&amp;amp;&lt&;&amp</v>").GetValue(u"", u"v"), u"&&amp;&lt&;&amp");
}

// Megabytes of entities decode in one pass (replacing in place took seconds at this size).
TEST(TextResponseParser, ManyEntitiesDecodeInLinearTime)
{
    constexpr std::size_t kCount = 400000;
    std::u16string text = u"<v>";
    for (std::size_t i = 0; i < kCount; ++i)
        text += u"&amp;";
    text += u"</v>";
    const auto started = std::chrono::steady_clock::now();
    const auto value = Parser::TextParser(text).GetValue(u"", u"v");
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
    EXPECT_EQ(value, std::u16string(kCount, u'&'));
}

TEST_F(XmlResponseParserTest, XPathLongerThanItsBoundIsRefusedNotCut)
{
    // "parent/name/@attribute".
    const std::u16string name(200, u'n');
    const std::u16string fits(Parser::XMLDocumentParser::kMaxXPathLength - 4 - name.size(), u'a');
    const std::u16string tooLong = fits + u"a";
    const std::u16string document =
        u"<r><" + name + u" " + fits + u"='fits' " + tooLong + u"='long'>t</" + name + u"></r>";
    const Parser::XMLDocumentParser parser(document);
    EXPECT_EQ(parser.GetAttribute(u"/", name, fits), u"fits");
    EXPECT_FALSE(parser.GetAttribute(u"/", name, tooLong));

    // "parent/name/text()".
    const std::u16string longName(Parser::XMLDocumentParser::kMaxXPathLength - 9, u'm');
    const std::u16string longer = longName + u"m";
    const Parser::XMLDocumentParser longNames(u"<r><" + longName + u">t</" + longName + u"><" + longer + u">u</" +
                                              longer + u"></r>");
    EXPECT_EQ(longNames.GetValue(u"/", longName), u"t");
    EXPECT_FALSE(longNames.GetValue(u"/", longer));
    EXPECT_FALSE(longNames.GetValue(u"/r", longName));
}

}  // namespace
