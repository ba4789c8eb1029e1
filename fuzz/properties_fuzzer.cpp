// The .properties reader. Any bytes load without harm; a file written from known entries, with
// comments, blank lines, padding of every white-space kind, CR LF ends and a byte-order mark
// mixed in, reads back as exactly those entries (the last one of a repeated key); integers read
// back as written and clamp to 32 bits.

#include <algorithm>
#include <cstdint>
#include <limits>
#include <map>
#include <string>

#include "foundation/config/Properties.h"
#include "foundation/text/WhiteSpace.h"
#include "fuzz/FuzzSupport.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Every unit of the shared white-space class but the line feed, which ends a line.
constexpr char16_t kPadding[] = {0x09,   0x0B,   0x0C,   0x0D,   0x20,   0x85,   0xA0,   0x1680,
                                 0x2000, 0x2005, 0x200A, 0x2028, 0x2029, 0x202F, 0x205F, 0x3000};

std::u16string ConsumePadding(FuzzedDataProvider& provider)
{
    std::u16string padding(provider.ConsumeIntegralInRange<std::size_t>(0, 3), u' ');
    for (char16_t& unit : padding)
        unit = kPadding[provider.ConsumeIntegralInRange<std::size_t>(0, std::size(kPadding) - 1)];
    return padding;
}

std::u16string Without(std::u16string text, std::u16string_view units)
{
    std::u16string kept;
    for (char16_t unit : text)
        if (units.find(unit) == std::u16string_view::npos)
            kept.push_back(unit);
    return kept;
}

// Any bytes: nothing breaks, at most one entry per line, and a byte-order mark changes nothing.
void CheckAnyText(std::string_view bytes)
{
    Properties plain;
    plain.LoadText(bytes);
    std::size_t lines = 1;
    for (char c : bytes)
        lines += c == '\n';
    FUZZ_CHECK(plain.Size() <= lines);
    if (bytes.substr(0, kByteOrderMark.size()) != kByteOrderMark) {
        Properties marked;
        marked.LoadText(std::string(kByteOrderMark) + std::string(bytes));
        FUZZ_CHECK(marked.Size() == plain.Size());
    }
    // A key never holds "=": the look-up finds nothing and adds nothing.
    const std::size_t entries = plain.Size();
    FUZZ_CHECK(plain.GetString(u"=").empty() && plain.GetInt(u"=") == 0);
    FUZZ_CHECK(plain.Size() == entries);
}

// Entries written as a file and read back.
void CheckWrittenEntries(FuzzedDataProvider& provider)
{
    const bool byteOrderMark = provider.ConsumeBool();
    const bool crlf = provider.ConsumeBool();
    std::map<std::u16string, std::u16string> expected;
    std::u16string file;
    while (provider.remaining_bytes() > 0 && expected.size() < 64) {
        std::u16string line;
        switch (provider.ConsumeIntegralInRange(0, 3)) {
            case 0:
                line = ConsumePadding(provider) + u"#" +
                       Without(text::Utf8ToUtf16(provider.ConsumeRandomLengthString(40)), u"\n");
                break;
            case 1:
                line = ConsumePadding(provider);
                break;
            default: {
                // Keys and values from UTF-8, so that they are well-formed UTF-16 and survive the file.
                std::u16string key = Without(text::Utf8ToUtf16(provider.ConsumeRandomLengthString(24)), u"=\n");
                // A leading byte-order mark belongs to the file, not to a first key.
                key = std::u16string(text::Trim(key));
                while (!key.empty() && key.front() == 0xFEFF)
                    key = std::u16string(text::Trim(std::u16string_view(key).substr(1)));
                const std::u16string value = Without(text::Utf8ToUtf16(provider.ConsumeRandomLengthString(40)), u"\n");
                if (key.empty() || key.front() == u'#')
                    continue;
                expected[key] = std::u16string(text::Trim(value));
                line = ConsumePadding(provider) + key + ConsumePadding(provider) + u"=" + ConsumePadding(provider) +
                       value + ConsumePadding(provider);
            }
        }
        file += line + (crlf ? u"\r\n" : u"\n");
    }
    const std::string bytes = (byteOrderMark ? std::string(kByteOrderMark) : std::string()) + text::Utf16ToUtf8(file);
    Properties properties;
    properties.LoadText(bytes);
    FUZZ_CHECK(properties.Size() == expected.size());
    for (const auto& [key, value] : expected) {
        FUZZ_CHECK(properties.GetString(key) == value);
        FUZZ_CHECK(properties.GetInt(key) == ParseInt32(value));
    }
    // The inserting look-up adds a missing key, empty, and nothing else.
    properties.At(u"=");
    FUZZ_CHECK(properties.Size() == expected.size() + 1 && properties.GetString(u"=").empty());
}

std::u16string Ascii(const std::string& text)
{
    return std::u16string(text.begin(), text.end());
}

// Whether the decimal digits (no sign) stand for more than `limit` (digits too).
bool Exceeds(std::string digits, const std::string& limit)
{
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
    return digits.size() != limit.size() ? digits.size() > limit.size() : digits > limit;
}

void CheckIntegers(FuzzedDataProvider& provider)
{
    // Any 32-bit number reads back, behind white space and before anything that is no digit.
    const auto number = provider.ConsumeIntegral<std::int32_t>();
    const std::u16string padding = ConsumePadding(provider);
    FUZZ_CHECK(ParseInt32(padding + Ascii(std::to_string(number)) + u" x") == number);
    if (number >= 0)
        FUZZ_CHECK(ParseInt32(u"+" + Ascii(std::to_string(number))) == number);

    // A run of digits of any length clamps to the 32-bit range.
    std::string digits = provider.ConsumeRandomLengthString(40);
    for (char& c : digits)
        c = static_cast<char>('0' + static_cast<unsigned char>(c) % 10);
    if (digits.empty())
        return;
    const std::int32_t positive = ParseInt32(Ascii(digits));
    const std::int32_t negative = ParseInt32(u"-" + Ascii(digits));
    if (Exceeds(digits, "2147483647")) {
        FUZZ_CHECK(positive == std::numeric_limits<std::int32_t>::max());
    } else {
        FUZZ_CHECK(positive == std::stoll(digits));
    }
    if (Exceeds(digits, "2147483648"))
        FUZZ_CHECK(negative == std::numeric_limits<std::int32_t>::min());
    else
        FUZZ_CHECK(static_cast<std::int64_t>(negative) == -std::stoll(digits));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CheckAnyText(std::string_view(reinterpret_cast<const char*>(data), size));
    FuzzedDataProvider entries(data, size);
    CheckWrittenEntries(entries);
    FuzzedDataProvider integers(data, size);
    CheckIntegers(integers);
    return 0;
}
