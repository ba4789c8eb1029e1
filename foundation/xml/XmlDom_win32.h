#pragma once
// The MSXML objects behind the portable XML classes; shared by their Windows sources only.

#include <wrl/client.h>

#include "foundation/xml/MsxmlCompat_win32.h"
#include "foundation/xml/XmlDocument.h"

struct XmlNode::Impl {
    Microsoft::WRL::ComPtr<IXMLDOMNode> node;
};

struct XmlDocument::Impl {
    Microsoft::WRL::ComPtr<IXMLDOMDocument> document;
    bool loaded = false;
};

struct XmlNodeWalk::Impl {
    Microsoft::WRL::ComPtr<IXMLDOMNodeList> children;
    Microsoft::WRL::ComPtr<IXMLDOMNamedNodeMap> attributes;
    long length = 0;
};

namespace Xml::Win32 {

// An XmlNode for `node`; empty for a null pointer.
XmlNode WrapNode(Microsoft::WRL::ComPtr<IXMLDOMNode> node);

}  // namespace Xml::Win32
