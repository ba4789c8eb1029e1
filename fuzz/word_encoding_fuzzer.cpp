// The two escapings of the selected word for a request address. Each gives the word back when
// decoded (the UTF-8 one up to the repair of lone surrogates, which UTF-8 cannot carry), uses only
// the kept marks and its own escapes, drops a too long word whole, and stays inside the query of
// the address it is put into.

#include <cstdint>
#include <optional>
#include <string>

#include "foundation/http/UrlParts.h"
#include "foundation/text/Utf.h"
#include "fuzz/FuzzSupport.h"
#include "translate/service/WordEncoding.h"

namespace {
using namespace translate::service;

constexpr std::u16string_view kKeptMarks = u"!'()*-._/:~";

bool IsKept(char16_t unit)
{
    return (unit >= u'A' && unit <= u'Z') || (unit >= u'a' && unit <= u'z') || (unit >= u'0' && unit <= u'9') ||
           kKeptMarks.find(unit) != std::u16string_view::npos;
}

int HexDigit(char16_t unit, bool upper)
{
    if (unit >= u'0' && unit <= u'9')
        return unit - u'0';
    const char16_t first = upper ? u'A' : u'a';
    if (unit >= first && unit < first + 6)
        return unit - first + 10;
    return -1;
}

// `count` hex digits of one case at `at`; nothing when they are not there.
std::optional<unsigned> ReadHex(std::u16string_view text, std::size_t at, std::size_t count, bool upper)
{
    if (text.size() - at < count)
        return std::nullopt;
    unsigned value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const int digit = HexDigit(text[at + i], upper);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<unsigned>(digit);
    }
    return value;
}

// The UTF-8 escaping read back; nothing when it holds anything but kept marks and "%xx".
std::optional<std::u16string> DecodeUtf8Percent(std::u16string_view escaped)
{
    std::string bytes;
    for (std::size_t i = 0; i < escaped.size();) {
        if (escaped[i] == u'%') {
            const std::optional<unsigned> byte = ReadHex(escaped, i + 1, 2, false);
            if (!byte || (*byte < 0x80 && IsKept(static_cast<char16_t>(*byte))))
                return std::nullopt;
            bytes.push_back(static_cast<char>(*byte));
            i += 3;
        } else if (IsKept(escaped[i])) {
            bytes.push_back(static_cast<char>(escaped[i++]));
        } else {
            return std::nullopt;
        }
    }
    return text::Utf8ToUtf16(bytes);
}

// The UTF-16 escaping read back: "%XX" up to 0xFF, "%uXXXX" above, each unit in its one form.
std::optional<std::u16string> DecodeUtf16Percent(std::u16string_view escaped)
{
    std::u16string word;
    for (std::size_t i = 0; i < escaped.size();) {
        if (escaped.compare(i, 2, u"%u") == 0) {
            const std::optional<unsigned> unit = ReadHex(escaped, i + 2, 4, true);
            if (!unit || *unit <= 0xFF)
                return std::nullopt;
            word.push_back(static_cast<char16_t>(*unit));
            i += 6;
        } else if (escaped[i] == u'%') {
            const std::optional<unsigned> unit = ReadHex(escaped, i + 1, 2, true);
            if (!unit || IsKept(static_cast<char16_t>(*unit)))
                return std::nullopt;
            word.push_back(static_cast<char16_t>(*unit));
            i += 3;
        } else if (IsKept(escaped[i])) {
            word.push_back(escaped[i++]);
        } else {
            return std::nullopt;
        }
    }
    return word;
}

// The escaped word as the value of a query parameter stays that value: no fragment, no other
// parameter, nothing a request line cannot carry.
void CheckInAddress(const std::u16string& escaped)
{
    const std::u16string query = u"?w=" + escaped + u"&l=en";
    if (query.size() > http::kMaxExtraLength)
        return;
    http::UrlParts parts;
    FUZZ_CHECK(http::SplitUrl(u"http://dictionary.test/q" + query, parts));
    FUZZ_CHECK(parts.path == u"/q" && parts.extra == query);
    FUZZ_CHECK(escaped.find_first_of(u"&#=?+ ") == std::u16string::npos);
}

void CheckUtf8Percent(const std::u16string& word)
{
    const std::u16string escaped = EncodeUtf8Percent(word);
    std::size_t fullLength = 0;
    for (unsigned char byte : text::Utf16ToUtf8(word))
        fullLength += byte < 0x80 && IsKept(byte) ? 1 : 3;
    if (fullLength > kMaxEscapedWordLength) {
        FUZZ_CHECK(escaped.empty());
        return;
    }
    FUZZ_CHECK(escaped.size() == fullLength);
    const std::optional<std::u16string> decoded = DecodeUtf8Percent(escaped);
    FUZZ_CHECK(decoded.has_value());
    FUZZ_CHECK(*decoded == text::Utf8ToUtf16(text::Utf16ToUtf8(word)));
    CheckInAddress(escaped);
}

void CheckUtf16Percent(const std::u16string& word)
{
    const std::u16string escaped = EncodeUtf16Percent(word);
    FUZZ_CHECK(escaped.size() <= 6 * word.size());
    const std::optional<std::u16string> decoded = DecodeUtf16Percent(escaped);
    FUZZ_CHECK(decoded.has_value());
    FUZZ_CHECK(*decoded == word);
    CheckInAddress(escaped);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::u16string word = fuzzsupport::Text16(data, size);
    CheckUtf8Percent(word);
    CheckUtf16Percent(word);
    return 0;
}
