#pragma once
// Letter case for ordinal comparisons that ignore it, the way the file system compares names:
// one UTF-16 unit at a time, each mapped to its upper-case form. The table covers Latin, Greek,
// Cyrillic and Armenian letters and the full-width Latin forms; other units compare as they are.

#include <string_view>

namespace text {

char16_t OrdinalUpper(char16_t unit);
bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b);

}  // namespace text
