#include "foundation/xml/XmlResponseParser.h"

#include "foundation/log/Log.h"
#include "foundation/text/WhiteSpace.h"
#include "foundation/xml/BrowserDocument.h"

namespace XML {

Log& ResponseParserLog()
{
    static Log log("CXMLResponseParser");
    return log;
}

Log& DocumentParserLog()
{
    static Log log("CXMLResponseParser::XMLDocumentParser");
    return log;
}

CXMLResponseParser::CXMLResponseParser(BrowserDocument* page)
{
    if (!page)
        return;
    Log& log = ResponseParserLog();
    // The page text is only worth fetching for the log.
    if (log.IsEnabled()) {
        if (const std::optional<std::u16string> body = page->BodyText())
            log.Write("Parsing html:\n", body->c_str());
    }

    std::optional<std::u16string> xml;
    if (page->GetXml(xml)) {
        m_parser = std::make_unique<XMLDocumentParser>(std::move(xml));
        return;
    }

    std::optional<std::u16string> text = page->BodyText();
    if (!text || text::Trim(*text).empty())
        return;
    log.Write("Parsing html as text:\n", text->c_str());
    m_parser = std::make_unique<TextParser>(std::move(*text));
}

CXMLResponseParser::~CXMLResponseParser() = default;

CXMLResponseParser::XMLDocumentParser::XMLDocumentParser(std::optional<std::u16string> xml)
{
    Log& log = DocumentParserLog();
    if (!xml) {
        log.Write("Cannot get XML...");
        return;
    }
    m_xml = std::move(*xml);
    // Its own copy: the browser's live document is never queried.
    auto document = std::make_unique<XmlDocument>();
    if (!document->IsCreated()) {
        log.Write("FAIL to create XML Document...");
        return;
    }
    if (!document->LoadXml(m_xml)) {
        log.Write("Cannot parse XML...");
        return;
    }
    m_document = std::move(document);
}

CXMLResponseParser::XMLDocumentParser::~XMLDocumentParser() = default;

std::optional<std::u16string> CXMLResponseParser::XMLDocumentParser::GetValue(std::u16string_view parent,
                                                                              std::u16string_view name) const
{
    return Select(parent, name, u"text()");
}

std::optional<std::u16string> CXMLResponseParser::XMLDocumentParser::GetAttribute(std::u16string_view parent,
                                                                                  std::u16string_view name,
                                                                                  std::u16string_view attribute) const
{
    return Select(parent, name, u"@" + std::u16string(attribute));
}

// "parent/name/last": with the parent "/" the expression starts with "//", a search anywhere.
std::optional<std::u16string> CXMLResponseParser::XMLDocumentParser::Select(std::u16string_view parent,
                                                                            std::u16string_view name,
                                                                            std::u16string_view last) const
{
    if (!m_document)
        return std::nullopt;
    // Refused rather than cut: a cut expression could select something else.
    if (parent.size() + name.size() + last.size() + 2 > kMaxXPathLength)
        return std::nullopt;
    std::u16string xpath;
    xpath.reserve(kMaxXPathLength);
    xpath.append(parent).append(u"/").append(name).append(u"/").append(last);
    return m_document->SelectSingleNodeValue(xpath);
}

}  // namespace XML
