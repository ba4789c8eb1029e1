#include "foundation/xml/XmlResponseParser.h"

namespace XML {
namespace {

void ReplaceAll(std::u16string& text, std::u16string_view from, std::u16string_view to)
{
    for (std::size_t at = text.find(from); at != std::u16string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

}  // namespace

std::optional<std::u16string> CXMLResponseParser::TextParser::GetValue(std::u16string_view,
                                                                       std::u16string_view name) const
{
    const std::u16string open = u"<" + std::u16string(name) + u">";
    const std::u16string close = u"</" + std::u16string(name) + u">";
    const std::size_t start = m_text.find(open);
    if (start == std::u16string::npos)
        return std::nullopt;
    const std::size_t valueStart = start + open.size();
    const std::size_t end = m_text.find(close, valueStart);
    if (end == std::u16string::npos)
        return std::nullopt;

    std::u16string value = m_text.substr(valueStart, end - valueStart);
    // "&amp;" goes last, so that an escaped entity ("&amp;lt;") ends as the entity's text.
    ReplaceAll(value, u"&quot;", u"\"");
    ReplaceAll(value, u"&lt;", u"<");
    ReplaceAll(value, u"&gt;", u">");
    ReplaceAll(value, u"&amp;", u"&");
    return value;
}

}  // namespace XML
