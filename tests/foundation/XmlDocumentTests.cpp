#include <chrono>
#include <string>
#include <vector>

#include "foundation/xml/XmlDocument.h"
#include "tests/foundation/XmlTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {
using xmltest::XmlTest;
using Texts = std::vector<std::u16string>;

// "name=text" of every node a walk visits ("name" alone when GetText fails).
template <class Iterator>
Texts Visit(const XmlNode& node)
{
    Texts seen;
    for (Iterator it(node); it.Valid(); it.Next()) {
        std::u16string text;
        seen.push_back(it.Current().GetText(text) ? it.Current().Name() + u"=" + text : it.Current().Name());
    }
    return seen;
}

std::u16string TextOf(const XmlNode& node)
{
    std::u16string text = u"(none)";
    return node.GetText(text) ? text : u"(false)";
}

// A node reached from the root by child indices.
XmlNode Child(const XmlNode& parent, int index)
{
    XmlChildIterator it(parent);
    for (int i = 0; i < index && it.Valid(); ++i)
        it.Next();
    return it.Valid() ? it.Current() : XmlNode();
}

using XmlDocumentTest = XmlTest;

TEST_F(XmlDocumentTest, RootIsTheOnlyChildOrElseTheFirstElement)
{
    for (const char16_t* text :
         {u"<update version='1'/>",
          u"<?xml version='1.0'?><!-- made by hand --><?style x?><update version='1'/><!--end-->"}) {
        XmlDocument document(text);
        EXPECT_EQ(document.RootElement().Name(), u"update");
    }
}

TEST_F(XmlDocumentTest, ATextThatDoesNotParseLeavesTheDocumentEmpty)
{
    XmlDocument document;
    ASSERT_TRUE(document.IsCreated());
    ASSERT_TRUE(document.LoadXml(u"<a x='1'>text</a>"));
    EXPECT_FALSE(document.LoadXml(u"<a><b></a>"));
    EXPECT_TRUE(document.RootElement().IsEmpty());
    EXPECT_FALSE(document.SelectSingleNodeValue(u"//a/@x"));
    EXPECT_FALSE(XmlDocument(u"").LoadXml(u"plain words"));
    EXPECT_TRUE(XmlDocument(u"").RootElement().IsEmpty());
    // An empty node answers nothing.
    std::u16string text;
    EXPECT_FALSE(XmlNode().GetText(text));
    EXPECT_EQ(XmlNode().Name(), u"");
    EXPECT_FALSE(XmlChildIterator(XmlNode()).Valid());
}

TEST_F(XmlDocumentTest, ElementTextJoinsItsDirectTextPiecesTrimmed)
{
    XmlDocument document(
        u"<r>"
        u"<mixed>  1.2 <b>beta</b>\n 3  </mixed>"
        u"<cdata>a<![CDATA[skipped]]>b</cdata>"
        u"<entities> &quot;&lt;x&gt;&amp;&#x416;&apos; </entities>"
        u"<nbsp>&#160;wide&#x3000;</nbsp>"
        u"<nested><b>only a child</b></nested>"
        u"<empty/></r>");
    const XmlNode root = document.RootElement();
    EXPECT_EQ(TextOf(Child(root, 0)), u"1.23");
    EXPECT_EQ(TextOf(Child(root, 1)), u"ab");
    EXPECT_EQ(TextOf(Child(root, 2)), u"\"<x>&\u0416'");
    EXPECT_EQ(TextOf(Child(root, 3)), u"wide");
    EXPECT_EQ(TextOf(Child(root, 4)), u"");
    EXPECT_EQ(TextOf(Child(root, 5)), u"");
    // A text node gives its value, trimmed; a CDATA section or a comment gives nothing.
    EXPECT_EQ(TextOf(Child(Child(root, 0), 0)), u"1.2");
    EXPECT_EQ(TextOf(Child(Child(root, 1), 1)), u"(false)");
    EXPECT_EQ(TextOf(Child(XmlDocument(u"<r><!--c--></r>").RootElement(), 0)), u"(false)");
}

TEST_F(XmlDocumentTest, ChildrenAreWalkedInOrderWithoutBlankText)
{
    XmlDocument document(
        u"<r>\n  <a>1</a>\n  <!--c-->\n  text\n  <![CDATA[d]]>\n  <b xml:space='preserve'>  </b>\n</r>");
    EXPECT_EQ(Visit<XmlChildIterator>(document.RootElement()),
              (Texts{u"a=1", u"#comment", u"#text=text", u"#cdata-section", u"b="}));
    EXPECT_EQ(Visit<XmlChildIterator>(Child(document.RootElement(), 4)), (Texts{u"#text="}));

    XmlChildIterator it(document.RootElement());
    for (int i = 0; i < 5; ++i)
        it.Next();
    EXPECT_FALSE(it.Valid());
    it.Next();
    EXPECT_FALSE(it.Valid());
}

TEST_F(XmlDocumentTest, AttributesAreWalkedWithTheirTrimmedValues)
{
    XmlDocument document(
        u"<update version=' 1.3.4.11 ' update_link='http://x/?a=1&amp;b=2' xmlns:p='urn:p' "
        u"p:extra='e' empty=''><version>2</version></update>");
    const XmlNode root = document.RootElement();
    EXPECT_EQ(Visit<XmlAttributeIterator>(root), (Texts{u"version=1.3.4.11", u"update_link=http://x/?a=1&b=2",
                                                        u"p:extra=e", u"empty=", u"xmlns:p=urn:p"}));
    EXPECT_TRUE(Visit<XmlAttributeIterator>(Child(root, 0)).empty());
    EXPECT_TRUE(Visit<XmlAttributeIterator>(Child(Child(root, 0), 0)).empty());
}

TEST_F(XmlDocumentTest, NodesKeepTheirDocumentAlive)
{
    XmlNode attribute;
    {
        XmlDocument document(u"<r a='kept'><c>child</c></r>");
        attribute = XmlAttributeIterator(document.RootElement()).Current();
    }
    EXPECT_EQ(TextOf(attribute), u"kept");
}

TEST_F(XmlDocumentTest, TheLoadedTextIsAlreadyDecoded)
{
    for (const char16_t* text : {u"<?xml version='1.0' encoding='windows-1251'?><r>\u0416</r>",
                                 u"<?xml version='1.0' encoding='UTF-8'?><r>\u0416</r>"}) {
        XmlDocument document(text);
        EXPECT_EQ(TextOf(document.RootElement()), u"\u0416");
    }
}

TEST_F(XmlDocumentTest, SelectionGivesTheFirstStringValueInDocumentOrder)
{
    XmlDocument document(
        u"<html status='0'><div><b/><a href='first'>one</a></div><div><a href='second'/></div>"
        u"<p><a href='outside'/></p><a href=''/><!--note--></html>");
    EXPECT_EQ(document.SelectSingleNodeValue(u"//html/@status"), u"0");
    EXPECT_EQ(document.SelectSingleNodeValue(u"//div/a/@href"), u"first");
    EXPECT_EQ(document.SelectSingleNodeValue(u"//div/a/text()"), u"one");
    EXPECT_EQ(document.SelectSingleNodeValue(u"//div[2]/a/@href"), u"second");
    EXPECT_EQ(document.SelectSingleNodeValue(u"/html/a/@href"), u"");
    EXPECT_EQ(document.SelectSingleNodeValue(u"//comment()"), u"note");
    for (const char16_t* nothing : {u"//div", u"//span/@x", u"count(//a)", u"//[", u"//x:a"})
        EXPECT_FALSE(document.SelectSingleNodeValue(nothing));
}

// The hostile documents of a network peer: each is refused or stays bounded, and fast.
TEST_F(XmlDocumentTest, DocumentTypesAndEntitiesAreNeverExpandedOrFetched)
{
    testsupport::TempFolder folder;
    testsupport::WriteFileBytes(folder.Path() / "secret.txt", "secret");
    const std::string fileUrl = "file:///" + (folder.Path() / "secret.txt").generic_string();

    std::u16string laughs = u"<!DOCTYPE l [<!ENTITY l0 'lol'>";
    for (int i = 1; i <= 9; ++i) {
        const std::u16string previous = u"&l" + std::u16string(1, u'0' + i - 1) + u";";
        std::u16string value;
        for (int k = 0; k < 10; ++k)
            value += previous;
        laughs += u"<!ENTITY l" + std::u16string(1, u'0' + i) + u" '" + value + u"'>";
    }
    laughs += u"]><r a='&l9;'>&l9;</r>";

    const std::u16string external =
        u"<!DOCTYPE r [<!ENTITY e SYSTEM '" + std::u16string(fileUrl.begin(), fileUrl.end()) + u"'>]><r>&e;</r>";
    std::u16string deep;
    for (int i = 0; i < 100000; ++i)
        deep += u"<d>";
    for (int i = 0; i < 100000; ++i)
        deep += u"</d>";

    for (const std::u16string& text : {laughs, external, std::u16string(u"<!DOCTYPE r><r>plain</r>"), deep}) {
        const auto start = std::chrono::steady_clock::now();
        XmlDocument document;
        EXPECT_FALSE(document.LoadXml(text)) << text.size();
        EXPECT_TRUE(document.RootElement().IsEmpty());
        EXPECT_FALSE(document.SelectSingleNodeValue(u"//r/text()"));
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    }
}

}  // namespace
