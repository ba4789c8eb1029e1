#pragma once
// The one white-space class used for trimming everywhere, chosen to match what Windows'
// iswspace accepts, so that both builds trim alike.

#include <string_view>

namespace text {

bool IsWhiteSpace(char16_t c);

std::u16string_view TrimLeft(std::u16string_view s);
std::u16string_view TrimRight(std::u16string_view s);
std::u16string_view Trim(std::u16string_view s);

}  // namespace text
