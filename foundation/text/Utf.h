#pragma once
// UTF-8 <-> UTF-16 conversion, identical on both platforms. Malformed input never fails: each
// bad sequence (or lone surrogate) becomes U+FFFD.

#include <string>
#include <string_view>

namespace text {

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

}  // namespace text
