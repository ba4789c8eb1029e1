// The UTF-8 <-> UTF-16 conversions. Whatever comes in, what comes out is well-formed; well-formed
// input goes there and back unchanged; malformed input changes only by U+FFFD replacements.

#include <cstdint>
#include <string>

#include "foundation/text/Utf.h"
#include "fuzz/FuzzSupport.h"

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsHigh(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLow(char16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Well-formed UTF-8 by the table of well-formed byte sequences of the Unicode standard (3-7).
bool IsWellFormedUtf8(std::string_view text)
{
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const auto inRange = [&](std::size_t i, unsigned low, unsigned high) {
        return i < text.size() && at(i) >= low && at(i) <= high;
    };
    for (std::size_t i = 0; i < text.size();) {
        const unsigned lead = at(i);
        std::size_t length = 0;
        bool second = false;
        if (lead <= 0x7F) {
            length = 1, second = true;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2, second = inRange(i + 1, 0x80, 0xBF);
        } else if (lead == 0xE0) {
            length = 3, second = inRange(i + 1, 0xA0, 0xBF);
        } else if ((lead >= 0xE1 && lead <= 0xEC) || lead == 0xEE || lead == 0xEF) {
            length = 3, second = inRange(i + 1, 0x80, 0xBF);
        } else if (lead == 0xED) {
            length = 3, second = inRange(i + 1, 0x80, 0x9F);
        } else if (lead == 0xF0) {
            length = 4, second = inRange(i + 1, 0x90, 0xBF);
        } else if (lead >= 0xF1 && lead <= 0xF3) {
            length = 4, second = inRange(i + 1, 0x80, 0xBF);
        } else if (lead == 0xF4) {
            length = 4, second = inRange(i + 1, 0x80, 0x8F);
        } else {
            return false;
        }
        if (!second)
            return false;
        for (std::size_t k = 2; k < length; ++k)
            if (!inRange(i + k, 0x80, 0xBF))
                return false;
        i += length;
    }
    return true;
}

bool IsWellFormedUtf16(std::u16string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsLow(text[i]))
            return false;
        if (IsHigh(text[i]) && (++i == text.size() || !IsLow(text[i])))
            return false;
    }
    return true;
}

// `text` with each lone surrogate replaced.
std::u16string Repaired(std::u16string_view text)
{
    std::u16string repaired(text);
    for (std::size_t i = 0; i < repaired.size(); ++i) {
        if (IsHigh(repaired[i]) && i + 1 < repaired.size() && IsLow(repaired[i + 1]))
            ++i;
        else if (IsHigh(repaired[i]) || IsLow(repaired[i]))
            repaired[i] = kReplacement;
    }
    return repaired;
}

void CheckFromUtf8(std::string_view bytes)
{
    const std::u16string wide = text::Utf8ToUtf16(bytes);
    FUZZ_CHECK(IsWellFormedUtf16(wide));
    FUZZ_CHECK(wide.size() <= bytes.size());
    const std::string back = text::Utf16ToUtf8(wide);
    FUZZ_CHECK(IsWellFormedUtf8(back));
    if (IsWellFormedUtf8(bytes)) {
        FUZZ_CHECK(back == bytes);
    } else {
        FUZZ_CHECK(wide.find(kReplacement) != std::u16string::npos);
        // Repaired text is well-formed, so it goes round unchanged from then on.
        FUZZ_CHECK(text::Utf8ToUtf16(back) == wide);
    }
}

void CheckFromUtf16(std::u16string_view units)
{
    const std::string narrow = text::Utf16ToUtf8(units);
    FUZZ_CHECK(IsWellFormedUtf8(narrow));
    FUZZ_CHECK(narrow.size() <= 3 * units.size());
    const std::u16string back = text::Utf8ToUtf16(narrow);
    FUZZ_CHECK(back == Repaired(units));
    if (IsWellFormedUtf16(units))
        FUZZ_CHECK(back == units);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckFromUtf8(bytes);
    CheckFromUtf16(fuzzsupport::Units(bytes));
    return 0;
}
