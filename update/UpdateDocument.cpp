#include "foundation/xml/XmlDocument.h"
#include "update/UpdateCheck.h"

namespace update {
namespace {
// Takes the text of a node named "version" or "update_link"; a later match overwrites.
void Collect(const XmlNode& node, UpdateDocument& document)
{
    const std::u16string name = node.Name();
    std::u16string* field = name == u"version"       ? &document.version
                            : name == u"update_link" ? &document.updateLink
                                                     : nullptr;
    std::u16string text;
    if (field && node.GetText(text)) {
        *field = text;
        document.matched = true;
    }
}
}  // namespace

UpdateDocument ReadUpdateDocument(const std::u16string& text)
{
    UpdateDocument document;
    // A text that does not parse leaves an empty document, which finds nothing.
    XmlDocument xml(text);
    const XmlNode root = xml.RootElement();
    for (XmlAttributeIterator attribute(root); attribute.Valid(); attribute.Next())
        Collect(attribute.Current(), document);
    for (XmlChildIterator child(root); child.Valid(); child.Next())
        Collect(child.Current(), document);
    return document;
}

}  // namespace update
