#include <utility>

#include "foundation/win32api/ComValues_win32.h"
#include "foundation/xml/XmlDom_win32.h"

using Microsoft::WRL::ComPtr;
using Win32::API::Bstr;
using Win32::API::Variant;

namespace {

// The same bound libxml2 keeps by default, so that both builds refuse the same documents.
constexpr long kMaxElementDepth = 256;

// Documents come from the network: nothing is fetched, no document type is accepted and
// selections are XPath (MSXML 3 would otherwise speak XSL Patterns). Versions that do not know
// a property keep their default; LoadXml refuses a document type declaration itself.
void Harden(IXMLDOMDocument* document)
{
    document->put_async(VARIANT_FALSE);
    document->put_validateOnParse(VARIANT_FALSE);
    document->put_resolveExternals(VARIANT_FALSE);
    document->put_preserveWhiteSpace(VARIANT_FALSE);

    ComPtr<IXMLDOMDocument2> extended;
    if (FAILED(document->QueryInterface(IID_PPV_ARGS(&extended))))
        return;
    extended->setProperty(Bstr(u"ProhibitDTD").Get(), Variant(true).Value());
    extended->setProperty(Bstr(u"MaxElementDepth").Get(), Variant(kMaxElementDepth).Value());
    extended->setProperty(Bstr(u"SelectionLanguage").Get(), Variant(std::u16string_view(u"XPath")).Value());
}

bool HasDocumentType(IXMLDOMDocument* document)
{
    ComPtr<IXMLDOMDocumentType> type;
    return SUCCEEDED(document->get_doctype(&type)) && type;
}

}  // namespace

XmlDocument::XmlDocument() : m_impl(std::make_unique<Impl>())
{
    if (FAILED(CoCreateInstance(Xml::Win32::kDomDocumentClass, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&m_impl->document)))) {
        m_impl->document.Reset();
        return;
    }
    Harden(m_impl->document.Get());
}

XmlDocument::~XmlDocument() = default;
XmlDocument::XmlDocument(XmlDocument&& other) noexcept = default;
XmlDocument& XmlDocument::operator=(XmlDocument&& other) noexcept = default;

bool XmlDocument::IsCreated() const
{
    return m_impl && m_impl->document;
}

bool XmlDocument::LoadXml(std::u16string_view text)
{
    if (!IsCreated())
        return false;
    m_impl->loaded = false;
    VARIANT_BOOL parsed = VARIANT_FALSE;
    if (FAILED(m_impl->document->loadXML(Bstr(text).Get(), &parsed)) || parsed != VARIANT_TRUE)
        return false;
    m_impl->loaded = !HasDocumentType(m_impl->document.Get());
    return m_impl->loaded;
}

XmlNode XmlDocument::RootElement() const
{
    if (!IsCreated() || !m_impl->loaded)
        return XmlNode();
    ComPtr<IXMLDOMNodeList> children;
    long length = 0;
    if (m_impl->document->get_childNodes(&children) != S_OK || !children || FAILED(children->get_length(&length)))
        return XmlNode();
    for (long i = 0; i < length; ++i) {
        ComPtr<IXMLDOMNode> child;
        if (children->get_item(i, &child) != S_OK || !child)
            continue;
        DOMNodeType type = NODE_INVALID;
        if (length == 1 || (SUCCEEDED(child->get_nodeType(&type)) && type == NODE_ELEMENT))
            return Xml::Win32::WrapNode(std::move(child));
    }
    return XmlNode();
}

std::optional<std::u16string> XmlDocument::SelectSingleNodeValue(std::u16string_view xpath) const
{
    if (!IsCreated() || !m_impl->loaded)
        return std::nullopt;
    ComPtr<IXMLDOMNode> node;
    if (m_impl->document->selectSingleNode(Bstr(xpath).Get(), &node) != S_OK || !node)
        return std::nullopt;
    Variant value;
    if (FAILED(node->get_nodeValue(value.Receive())) || value.Value().vt != VT_BSTR)
        return std::nullopt;
    return Bstr::Text(value.Value().bstrVal);
}
