#include "foundation/xml/XmlResponseParser.h"

namespace XML {
namespace {

// The four entities, decoded in one pass from left to right; what a decoded entity yields is not
// read again, so "&amp;lt;" ends as "&lt;". Anything else after '&' stays as it is.
std::u16string DecodeEntities(std::u16string_view text)
{
    static constexpr struct {
        std::u16string_view entity;
        char16_t character;
    } kEntities[] = {{u"&quot;", u'"'}, {u"&lt;", u'<'}, {u"&gt;", u'>'}, {u"&amp;", u'&'}};
    std::u16string decoded;
    decoded.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t ampersand = text.find(u'&', at);
        decoded.append(text.substr(at, ampersand - at));
        if (ampersand == std::u16string_view::npos)
            break;
        at = ampersand + 1;
        char16_t character = u'&';
        for (const auto& known : kEntities) {
            if (text.substr(ampersand, known.entity.size()) == known.entity) {
                character = known.character;
                at = ampersand + known.entity.size();
                break;
            }
        }
        decoded.push_back(character);
    }
    return decoded;
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

    return DecodeEntities(std::u16string_view(m_text).substr(valueStart, end - valueStart));
}

}  // namespace XML
