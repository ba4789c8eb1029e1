#include <libxml/parser.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <climits>
#include <string>
#include <utility>

#include "foundation/text/Utf.h"
#include "foundation/xml/XmlDom_posix.h"

namespace {
using Xml::Posix::OwnedString;
using Xml::Posix::ToText;

struct FreeParser {
    void operator()(xmlParserCtxt* parser) const { xmlFreeParserCtxt(parser); }
};
struct FreeXPathContext {
    void operator()(xmlXPathContext* context) const { xmlXPathFreeContext(context); }
};
struct FreeXPathObject {
    void operator()(xmlXPathObject* object) const { xmlXPathFreeObject(object); }
};

// Documents come from the network: never fetch anything, never substitute entities, never load
// a DTD, and keep the parser's default size and depth limits (no XML_PARSE_HUGE). The text is
// already decoded, so an encoding named in its declaration is ignored, as MSXML's loadXML does.
constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_IGNORE_ENC;

// A document type declaration stops the parse at once, before any declaration in it is read:
// the answer MSXML gives with ProhibitDTD.
void RefuseDocumentType(void* context, const xmlChar*, const xmlChar*, const xmlChar*)
{
    auto* parser = static_cast<xmlParserCtxt*>(context);
    parser->wellFormed = 0;
    xmlStopParser(parser);
}

void IgnoreXPathError(void*, xmlError*) {}

bool PreservesSpace(xmlNode* node)
{
    return xmlNodeGetSpacePreserve(node) == 1;
}

// MSXML (preserveWhiteSpace false) keeps no text node made only of white space, except under
// xml:space="preserve".
void DropBlankText(xmlNode* parent)
{
    xmlNode* child = parent->children;
    while (child) {
        xmlNode* next = child->next;
        if (child->type == XML_TEXT_NODE && xmlIsBlankNode(child) && !PreservesSpace(parent)) {
            xmlUnlinkNode(child);
            xmlFreeNode(child);
        } else if (child->type == XML_ELEMENT_NODE) {
            DropBlankText(child);
        }
        child = next;
    }
}

std::shared_ptr<xmlDoc> Parse(std::u16string_view text)
{
    const std::string utf8 = text::Utf16ToUtf8(text);
    if (utf8.size() > static_cast<std::size_t>(INT_MAX))
        return nullptr;
    std::unique_ptr<xmlParserCtxt, FreeParser> parser(xmlNewParserCtxt());
    if (!parser)
        return nullptr;
    parser->sax->internalSubset = RefuseDocumentType;
    std::shared_ptr<xmlDoc> document(
        xmlCtxtReadMemory(parser.get(), utf8.data(), static_cast<int>(utf8.size()), nullptr, "UTF-8", kParseOptions),
        Xml::Posix::FreeDocument());
    if (!document || !parser->wellFormed || !xmlDocGetRootElement(document.get()))
        return nullptr;
    DropBlankText(xmlDocGetRootElement(document.get()));
    return document;
}

// MSXML's nodeValue: the text of the nodes that have one; elements and documents have none.
std::optional<std::u16string> NodeValue(const xmlNode* node)
{
    switch (node->type) {
        case XML_TEXT_NODE:
        case XML_CDATA_SECTION_NODE:
        case XML_COMMENT_NODE:
        case XML_PI_NODE:
        case XML_ATTRIBUTE_NODE:
            return ToText(OwnedString(xmlNodeGetContent(node)).get());
        default:
            return std::nullopt;
    }
}

XmlNode Wrap(const std::shared_ptr<xmlDoc>& document, xmlNode* node)
{
    return XmlNode(std::make_shared<XmlNode::Impl>(XmlNode::Impl{document, node, nullptr}));
}

}  // namespace

XmlDocument::XmlDocument() : m_impl(std::make_unique<Impl>()) {}

XmlDocument::~XmlDocument() = default;
XmlDocument::XmlDocument(XmlDocument&& other) noexcept = default;
XmlDocument& XmlDocument::operator=(XmlDocument&& other) noexcept = default;

bool XmlDocument::IsCreated() const
{
    return m_impl != nullptr;
}

bool XmlDocument::LoadXml(std::u16string_view text)
{
    if (!IsCreated())
        return false;
    m_impl->document = Parse(text);
    return m_impl->document != nullptr;
}

XmlNode XmlDocument::RootElement() const
{
    if (!IsCreated() || !m_impl->document)
        return XmlNode();
    xmlNode* first = m_impl->document->children;
    if (first && !first->next)
        return Wrap(m_impl->document, first);
    for (xmlNode* child = first; child; child = child->next) {
        if (child->type == XML_ELEMENT_NODE)
            return Wrap(m_impl->document, child);
    }
    return XmlNode();
}

std::optional<std::u16string> XmlDocument::SelectSingleNodeValue(std::u16string_view xpath) const
{
    if (!IsCreated() || !m_impl->document)
        return std::nullopt;
    std::unique_ptr<xmlXPathContext, FreeXPathContext> context(xmlXPathNewContext(m_impl->document.get()));
    if (!context)
        return std::nullopt;
    context->error = IgnoreXPathError;
    const std::string expression = text::Utf16ToUtf8(xpath);
    std::unique_ptr<xmlXPathObject, FreeXPathObject> result(
        xmlXPathEvalExpression(reinterpret_cast<const xmlChar*>(expression.c_str()), context.get()));
    if (!result || result->type != XPATH_NODESET || xmlXPathNodeSetIsEmpty(result->nodesetval))
        return std::nullopt;
    xmlXPathNodeSetSort(result->nodesetval);
    return NodeValue(result->nodesetval->nodeTab[0]);
}
