#pragma once
// Plain text substitution, shared by the tracker address and the Multilex link.

#include <string>
#include <string_view>

namespace dialogserver::dialogs {

// `text` with every occurrence of `pattern` (left to right, not overlapping) replaced by
// `replacement`. What the replacement brings in is not searched again. An empty pattern changes nothing.
std::u16string ReplaceAll(std::u16string_view text, std::u16string_view pattern, std::u16string_view replacement);

}  // namespace dialogserver::dialogs
