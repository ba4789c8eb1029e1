// What the XML classes do the same way on every system.
#include "foundation/xml/XmlDocument.h"

#include "foundation/text/WhiteSpace.h"

bool XmlNode::GetText(std::u16string& text) const
{
    std::u16string untrimmed;
    if (!m_impl || !UntrimmedText(untrimmed))
        return false;
    text = text::Trim(untrimmed);
    return true;
}

XmlDocument::XmlDocument(std::u16string_view text) : XmlDocument()
{
    LoadXml(text);
}

void XmlNodeWalk::Next()
{
    if (m_index >= Length())
        return;
    ++m_index;
    Settle();
}

void XmlNodeWalk::Settle()
{
    m_current = XmlNode();
    for (const long length = Length(); m_index < length; ++m_index) {
        m_current = Item(m_index);
        if (!m_current.IsEmpty())
            return;
    }
}
