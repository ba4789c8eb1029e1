// The response parsers: the XML document parser (libxml2 under the portable XML classes) and the
// plain-text parser, and the choice between them. Any page is read without harm, texts come out
// trimmed; a value written into a page (escaped as a page escapes it) is read back exactly by
// both parsers, whatever surrounds it.

#include <cstdint>
#include <optional>
#include <string>

#include "foundation/text/WhiteSpace.h"
#include "foundation/xml/BrowserDocument.h"
#include "foundation/xml/XmlDocument.h"
#include "foundation/xml/XmlResponseParser.h"
#include "fuzz/FuzzSupport.h"

namespace {
using XML::CXMLResponseParser;

bool IsTrimmed(std::u16string_view text)
{
    return text::Trim(text).size() == text.size();
}

// Walks a loaded document as the update check does: names, attributes, trimmed texts.
void Walk(const XmlNode& node, int depth)
{
    std::u16string text;
    if (node.GetText(text))
        FUZZ_CHECK(IsTrimmed(text));
    if (depth > 64)
        return;
    for (XmlAttributeIterator attribute(node); attribute.Valid(); attribute.Next()) {
        FUZZ_CHECK(!attribute.Current().Name().empty());
        Walk(attribute.Current(), depth + 1);
    }
    for (XmlChildIterator child(node); child.Valid(); child.Next())
        Walk(child.Current(), depth + 1);
}

// A name of plain ASCII letters and digits, starting with a letter.
std::u16string XmlName(std::u16string_view raw)
{
    std::u16string name = u"v";
    for (char16_t unit : raw)
        if ((unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z') || (unit >= u'0' && unit <= u'9'))
            name.push_back(unit);
    return name.substr(0, 20);
}

void CheckAnyPage(const std::u16string& page, const std::u16string& parent, const std::u16string& name)
{
    const XmlDocument document(page);
    Walk(document.RootElement(), 0);
    document.SelectSingleNodeValue(parent + u"/" + name);

    CXMLResponseParser::XMLDocumentParser xml(page);
    FUZZ_CHECK(xml.GetText() == page);
    xml.GetValue(parent, name);
    xml.GetAttribute(parent, name, name);

    const CXMLResponseParser::TextParser plain(page);
    if (const std::optional<std::u16string> value = plain.GetValue(parent, name)) {
        FUZZ_CHECK(value->size() <= page.size());
        FUZZ_CHECK(page.find(u"<" + name + u">") != std::u16string::npos);
    }
}

void CheckTextValue(const std::u16string& before,
                    const std::u16string& name,
                    const std::u16string& value,
                    const std::u16string& after)
{
    const std::u16string open = u"<" + name + u">";
    if ((before + open).find(open) != before.size())
        return;  // an earlier element of that name is the one found
    const std::u16string page = before + open + fuzzsupport::EscapeEntities(value) + u"</" + name + u">" + after;
    const std::optional<std::u16string> read = CXMLResponseParser::TextParser(page).GetValue(u"/", name);
    FUZZ_CHECK(read.has_value() && *read == value);
}

void CheckXmlValue(const std::u16string& name, const std::u16string& value)
{
    // White space alone makes no text node; the value must be more than that.
    if (value.find_first_not_of(u" \t\n") == std::u16string::npos)
        return;
    const std::u16string page = u"<?xml version=\"1.0\"?><answer lang=\"" + fuzzsupport::EscapeEntities(value) +
                                u"\"><" + name + u">" + fuzzsupport::EscapeEntities(value) + u"</" + name +
                                u"></answer>";
    CXMLResponseParser::XMLDocumentParser parser(page);
    const std::optional<std::u16string> read = parser.GetValue(u"/", name);
    FUZZ_CHECK(read.has_value() && *read == value);
    // Both parsers read the same page alike.
    const std::optional<std::u16string> plain = CXMLResponseParser::TextParser(page).GetValue(u"/", name);
    FUZZ_CHECK(plain.has_value() && *plain == value);
    FUZZ_CHECK(parser.GetAttribute(u"/", u"answer", u"lang").has_value());
}

// A loaded page as a browser hands it over.
class FakePage : public XML::BrowserDocument {
public:
    FakePage(bool isXml, std::optional<std::u16string> xml, std::optional<std::u16string> body)
        : m_isXml(isXml), m_xml(std::move(xml)), m_body(std::move(body))
    {
    }
    bool GetXml(std::optional<std::u16string>& xml) override
    {
        xml = m_xml;
        return m_isXml;
    }
    std::optional<std::u16string> BodyText() override { return m_body; }

private:
    bool m_isXml;
    std::optional<std::u16string> m_xml;
    std::optional<std::u16string> m_body;
};

// An XML page gets the document parser, another page with visible text the text parser, and a
// page without any nothing.
void CheckChoice(FuzzedDataProvider& provider, const std::u16string& page)
{
    const bool isXml = provider.ConsumeBool();
    const bool hasBody = provider.ConsumeBool();
    FakePage browserPage(isXml, provider.ConsumeBool() ? std::optional<std::u16string>(page) : std::nullopt,
                         hasBody ? std::optional<std::u16string>(page) : std::nullopt);
    const CXMLResponseParser response(&browserPage);
    CXMLResponseParser::Parser* parser = response.GetParser();
    if (isXml)
        FUZZ_CHECK(dynamic_cast<CXMLResponseParser::XMLDocumentParser*>(parser) != nullptr);
    else if (hasBody && !text::Trim(page).empty())
        FUZZ_CHECK(dynamic_cast<CXMLResponseParser::TextParser*>(parser) != nullptr && parser->GetText() == page);
    else
        FUZZ_CHECK(parser == nullptr);
    FUZZ_CHECK(CXMLResponseParser(nullptr).GetParser() == nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::UsePrivateProfile();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The whole input as a page (the seeds are pages), then as the parts of made-up pages.
    const std::u16string page = fuzzsupport::Text16(data, size);
    FuzzedDataProvider provider(data, size);
    const std::u16string parent = fuzzsupport::ConsumeText16(provider, 16);
    const std::u16string name = fuzzsupport::ConsumeText16(provider, 16);
    CheckAnyPage(page, parent.empty() ? u"/" : parent, name.empty() ? u"translation" : name);

    const std::u16string value = fuzzsupport::ConsumeText16(provider, 64);
    const std::u16string before = fuzzsupport::ConsumeText16(provider, 64);
    if (!name.empty())
        CheckTextValue(before, name, value, fuzzsupport::ConsumeText16(provider, 32));
    CheckXmlValue(XmlName(name), fuzzsupport::XmlText(value, true));
    CheckChoice(provider, page);
    return 0;
}
