#pragma once
// The libxml2 objects behind the portable XML classes; shared by their POSIX sources only.

#include <libxml/tree.h>

#include <memory>
#include <string>
#include <vector>

#include "foundation/xml/XmlDocument.h"

namespace Xml::Posix {

struct FreeDocument {
    void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
};

struct FreeString {
    void operator()(xmlChar* text) const { xmlFree(text); }
};
using OwnedString = std::unique_ptr<xmlChar, FreeString>;

// UTF-8 from libxml2 as the foundation's UTF-16; null gives "".
std::u16string ToText(const xmlChar* text);

}  // namespace Xml::Posix

// Nodes share the ownership of their tree, as MSXML's nodes hold a reference to their document.
struct XmlNode::Impl {
    std::shared_ptr<xmlDoc> document;
    xmlNode* node = nullptr;
    // Set for a namespace declaration of `node`, which MSXML lists among the attributes.
    xmlNs* declaration = nullptr;
};

struct XmlDocument::Impl {
    std::shared_ptr<xmlDoc> document;  // null until a text has loaded
};

struct XmlNodeWalk::Impl {
    std::vector<std::shared_ptr<const XmlNode::Impl>> items;
};
