#pragma once
// The two ways a selected word is escaped for a request address.

#include <cstddef>
#include <string>
#include <string_view>

namespace translate::service {

// The longest escaped word the UTF-8 escaping hands out; a longer one is dropped, not cut.
constexpr std::size_t kMaxEscapedWordLength = 2046;

// UTF-8 bytes with "%xx" escapes (lower-case hex) for everything outside the kept set.
std::u16string EncodeUtf8Percent(std::u16string_view word);
// UTF-16 code units: "%XX" up to 0xFF, "%uXXXX" above (upper-case hex); no length limit.
std::u16string EncodeUtf16Percent(std::u16string_view word);

}  // namespace translate::service
