#include <utility>

#include "foundation/text/WhiteSpace.h"
#include "foundation/win32api/ComValues_win32.h"
#include "foundation/xml/XmlDom_win32.h"

using Microsoft::WRL::ComPtr;
using Win32::API::Bstr;
using Win32::API::Variant;

namespace {

// The node's value as text: a string as it is, an empty value as "", anything else converted.
bool ValueText(IXMLDOMNode* node, std::u16string& text)
{
    Variant value;
    if (FAILED(node->get_nodeValue(value.Receive())))
        return false;
    switch (value.Value().vt) {
        case VT_BSTR:
            text = Bstr::Text(value.Value().bstrVal);
            return true;
        case VT_EMPTY:
        case VT_NULL:
            text.clear();
            return true;
        default: {
            Variant converted;
            if (FAILED(VariantChangeType(converted.Receive(), &value.Value(), 0, VT_BSTR)))
                return false;
            text = Bstr::Text(converted.Value().bstrVal);
            return true;
        }
    }
}

DOMNodeType TypeOf(IXMLDOMNode* node)
{
    DOMNodeType type = NODE_INVALID;
    if (FAILED(node->get_nodeType(&type)))
        return NODE_INVALID;
    return type;
}

// The direct text children, each trimmed, joined; CDATA sections and elements are passed over.
void JoinTextChildren(IXMLDOMNode* element, std::u16string& text)
{
    ComPtr<IXMLDOMNodeList> children;
    long length = 0;
    if (element->get_childNodes(&children) != S_OK || !children || FAILED(children->get_length(&length)))
        return;
    for (long i = 0; i < length; ++i) {
        ComPtr<IXMLDOMNode> child;
        std::u16string piece;
        if (children->get_item(i, &child) == S_OK && child && TypeOf(child.Get()) == NODE_TEXT &&
            ValueText(child.Get(), piece))
            text += text::Trim(piece);
    }
}

}  // namespace

namespace Xml::Win32 {

XmlNode WrapNode(ComPtr<IXMLDOMNode> node)
{
    if (!node)
        return XmlNode();
    auto impl = std::make_shared<XmlNode::Impl>();
    impl->node = std::move(node);
    return XmlNode(std::move(impl));
}

}  // namespace Xml::Win32

std::u16string XmlNode::Name() const
{
    Bstr name;
    if (!m_impl || FAILED(m_impl->node->get_nodeName(name.Receive())))
        return std::u16string();
    return name.Text();
}

bool XmlNode::UntrimmedText(std::u16string& result) const
{
    IXMLDOMNode* node = m_impl->node.Get();
    switch (TypeOf(node)) {
        case NODE_ELEMENT:
            JoinTextChildren(node, result);
            break;
        case NODE_ATTRIBUTE:
        case NODE_TEXT:
            if (!ValueText(node, result))
                return false;
            break;
        default:
            return false;
    }
    return true;
}

XmlNodeWalk::XmlNodeWalk(const XmlNode& node, Kind kind) : m_impl(std::make_unique<Impl>())
{
    if (node.m_impl) {
        IXMLDOMNode* parent = node.m_impl->node.Get();
        bool listed = false;
        if (kind == Kind::Children)
            listed = parent->get_childNodes(&m_impl->children) == S_OK && m_impl->children &&
                     SUCCEEDED(m_impl->children->get_length(&m_impl->length));
        else
            listed = parent->get_attributes(&m_impl->attributes) == S_OK && m_impl->attributes &&
                     SUCCEEDED(m_impl->attributes->get_length(&m_impl->length));
        if (!listed)
            m_impl->length = 0;
    }
    Settle();
}

XmlNodeWalk::~XmlNodeWalk() = default;

long XmlNodeWalk::Length() const
{
    return m_impl->length;
}

XmlNode XmlNodeWalk::Item(long index) const
{
    ComPtr<IXMLDOMNode> item;
    const HRESULT hr =
        m_impl->children ? m_impl->children->get_item(index, &item) : m_impl->attributes->get_item(index, &item);
    return hr == S_OK ? Xml::Win32::WrapNode(std::move(item)) : XmlNode();
}
