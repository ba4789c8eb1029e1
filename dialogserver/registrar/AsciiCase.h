#pragma once
// The registrar's names (keywords, root keys, variables) compare without regard to ASCII case,
// as the ATL registrar compares them; other letters compare exactly.

#include <cstddef>
#include <string_view>

namespace dialogserver::registrar {

inline bool SameIgnoringAsciiCase(std::u16string_view left, std::u16string_view right)
{
    const auto upper = [](char16_t unit) {
        return (unit >= u'a' && unit <= u'z') ? static_cast<char16_t>(unit - u'a' + u'A') : unit;
    };
    if (left.size() != right.size())
        return false;
    for (std::size_t i = 0; i < left.size(); ++i) {
        if (upper(left[i]) != upper(right[i]))
            return false;
    }
    return true;
}

}  // namespace dialogserver::registrar
