#include "foundation/text/WhiteSpace.h"

namespace text {

bool IsWhiteSpace(char16_t c)
{
    switch (c) {
        case 0x09:
        case 0x0A:
        case 0x0B:
        case 0x0C:
        case 0x0D:
        case 0x20:
        case 0x85:
        case 0xA0:
        case 0x1680:
        case 0x2028:
        case 0x2029:
        case 0x202F:
        case 0x205F:
        case 0x3000:
            return true;
        default:
            return c >= 0x2000 && c <= 0x200A;
    }
}

std::u16string_view TrimLeft(std::u16string_view s)
{
    std::size_t start = 0;
    while (start < s.size() && IsWhiteSpace(s[start]))
        ++start;
    return s.substr(start);
}

std::u16string_view TrimRight(std::u16string_view s)
{
    std::size_t end = s.size();
    while (end > 0 && IsWhiteSpace(s[end - 1]))
        --end;
    return s.substr(0, end);
}

std::u16string_view Trim(std::u16string_view s)
{
    return TrimLeft(TrimRight(s));
}

}  // namespace text
