#include <climits>
#include <utility>

#include "foundation/text/Utf.h"
#include "foundation/text/WhiteSpace.h"
#include "foundation/xml/XmlDom_posix.h"

namespace Xml::Posix {

std::u16string ToText(const xmlChar* text)
{
    if (!text)
        return std::u16string();
    return text::Utf8ToUtf16(reinterpret_cast<const char*>(text));
}

}  // namespace Xml::Posix

namespace {
using Xml::Posix::OwnedString;
using Xml::Posix::ToText;

std::u16string Content(const xmlNode* node)
{
    return ToText(OwnedString(xmlNodeGetContent(node)).get());
}

// MSXML's nodeName: qualified names for elements and attributes, "#text" and the like for the
// nodes that have none.
std::u16string NodeName(const xmlNode* node)
{
    switch (node->type) {
        case XML_TEXT_NODE:
            return u"#text";
        case XML_CDATA_SECTION_NODE:
            return u"#cdata-section";
        case XML_COMMENT_NODE:
            return u"#comment";
        case XML_DOCUMENT_NODE:
            return u"#document";
        case XML_ELEMENT_NODE:
        case XML_ATTRIBUTE_NODE:
            if (node->ns && node->ns->prefix)
                return ToText(node->ns->prefix) + u':' + ToText(node->name);
            return ToText(node->name);
        default:
            return ToText(node->name);
    }
}

std::u16string DeclarationName(const xmlNs* declaration)
{
    return declaration->prefix ? u"xmlns:" + ToText(declaration->prefix) : std::u16string(u"xmlns");
}

}  // namespace

std::u16string XmlNode::Name() const
{
    if (!m_impl)
        return std::u16string();
    return m_impl->declaration ? DeclarationName(m_impl->declaration) : NodeName(m_impl->node);
}

bool XmlNode::UntrimmedText(std::u16string& result) const
{
    if (m_impl->declaration) {
        result = ToText(m_impl->declaration->href);
    } else {
        const xmlNode* node = m_impl->node;
        switch (node->type) {
            case XML_ELEMENT_NODE:
                for (const xmlNode* child = node->children; child; child = child->next) {
                    if (child->type == XML_TEXT_NODE)
                        result += text::Trim(Content(child));
                }
                break;
            case XML_ATTRIBUTE_NODE:
            case XML_TEXT_NODE:
                result = Content(node);
                break;
            default:
                return false;
        }
    }
    return true;
}

XmlNodeWalk::XmlNodeWalk(const XmlNode& node, Kind kind) : m_impl(std::make_unique<Impl>())
{
    const XmlNode::Impl* parent = node.m_impl.get();
    if (parent && !parent->declaration) {
        auto add = [&](xmlNode* item, xmlNs* declaration) {
            m_impl->items.push_back(
                std::make_shared<XmlNode::Impl>(XmlNode::Impl{parent->document, item, declaration}));
        };
        if (kind == Kind::Children) {
            for (xmlNode* child = parent->node->children; child; child = child->next)
                add(child, nullptr);
        } else if (parent->node->type == XML_ELEMENT_NODE) {
            // Wine's MSXML lists the plain attributes first, then the namespace declarations.
            for (xmlAttr* attribute = parent->node->properties; attribute; attribute = attribute->next)
                add(reinterpret_cast<xmlNode*>(attribute), nullptr);
            for (xmlNs* declaration = parent->node->nsDef; declaration; declaration = declaration->next)
                add(parent->node, declaration);
        }
    }
    Settle();
}

XmlNodeWalk::~XmlNodeWalk() = default;

long XmlNodeWalk::Length() const
{
    return m_impl->items.size() < static_cast<std::size_t>(LONG_MAX) ? static_cast<long>(m_impl->items.size())
                                                                     : LONG_MAX;
}

XmlNode XmlNodeWalk::Item(long index) const
{
    return XmlNode(m_impl->items[static_cast<std::size_t>(index)]);
}
