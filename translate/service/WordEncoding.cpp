#include "translate/service/WordEncoding.h"

#include "foundation/text/Utf.h"

namespace translate::service {
namespace {
// Letters, digits and the marks that addresses carry unescaped.
bool IsKept(char16_t c)
{
    if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9'))
        return true;
    switch (c) {
        case u'!':
        case u'\'':
        case u'(':
        case u')':
        case u'*':
        case u'-':
        case u'.':
        case u'/':
        case u':':
        case u'_':
        case u'~':
            return true;
        default:
            return false;
    }
}

void AppendHex(std::u16string& out, unsigned value, int digits, const char* alphabet)
{
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        out.push_back(static_cast<char16_t>(alphabet[(value >> shift) & 0xF]));
}

constexpr char kLowerHex[] = "0123456789abcdef";
constexpr char kUpperHex[] = "0123456789ABCDEF";
}  // namespace

std::u16string EncodeUtf8Percent(std::u16string_view word)
{
    std::u16string escaped;
    // A "%" is escaped too: left alone, "100%" would make an invalid address and "%41" would
    // reach the server as "A".
    for (unsigned char byte : text::Utf16ToUtf8(word)) {
        if (byte < 0x80 && IsKept(byte)) {
            escaped.push_back(byte);
        } else {
            escaped.push_back(u'%');
            AppendHex(escaped, byte, 2, kLowerHex);
        }
        if (escaped.size() > kMaxEscapedWordLength)
            return std::u16string();
    }
    return escaped;
}

std::u16string EncodeUtf16Percent(std::u16string_view word)
{
    std::u16string escaped;
    escaped.reserve(word.size() * 3);
    for (char16_t unit : word) {
        if (unit <= 0xFF && IsKept(unit)) {
            escaped.push_back(unit);
        } else if (unit <= 0xFF) {
            escaped.push_back(u'%');
            AppendHex(escaped, unit, 2, kUpperHex);
        } else {
            escaped.append(u"%u");
            AppendHex(escaped, unit, 4, kUpperHex);
        }
    }
    return escaped;
}

}  // namespace translate::service
