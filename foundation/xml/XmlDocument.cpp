// What the XML classes do the same way on every system.
#include "foundation/xml/XmlDocument.h"

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
