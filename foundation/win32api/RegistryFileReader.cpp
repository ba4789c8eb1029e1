// Reading regedit's text format from UTF-8. The syntax is ASCII, so the text is scanned as bytes
// and only names and strings are decoded; anything not understood fails the whole file.

#include <unordered_map>

#include "foundation/text/AsciiCase.h"
#include "foundation/text/Utf.h"
#include "foundation/win32api/RegistryFile.h"

namespace Win32::API {
namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Physical lines, LF or CR LF terminated.
class LineReader {
public:
    explicit LineReader(std::string_view text) : m_rest(text) {}

    bool Next(std::string_view& line)
    {
        if (m_rest.empty())
            return false;
        const std::size_t end = m_rest.find('\n');
        line = m_rest.substr(0, end);
        m_rest = end == std::string_view::npos ? std::string_view{} : m_rest.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        return true;
    }

private:
    std::string_view m_rest;
};

// Strict UTF-8: the converter replaces malformed sequences, so only valid text converts back
// unchanged.
bool DecodeUtf8(std::string_view utf8, std::u16string& text)
{
    for (char c : utf8) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            text = text::Utf8ToUtf16(utf8);
            return text::Utf16ToUtf8(text) == utf8;
        }
    }
    text.assign(utf8.begin(), utf8.end());
    return true;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// One to eight hex digits, all of `digits`.
bool ParseHexNumber(std::string_view digits, std::uint32_t& number)
{
    if (digits.empty() || digits.size() > 8)
        return false;
    number = 0;
    for (char c : digits) {
        const int value = HexValue(c);
        if (value < 0)
            return false;
        number = (number << 4) | static_cast<std::uint32_t>(value);
    }
    return true;
}

// "xx,xx,...": two hex digits per byte; an empty list is no bytes.
bool ParseByteList(std::string_view list, std::vector<std::uint8_t>& bytes)
{
    bytes.clear();
    if (list.empty())
        return true;
    bytes.reserve((list.size() + 1) / 3);
    for (;;) {
        if (list.size() < 2)
            return false;
        const int high = HexValue(list[0]);
        const int low = HexValue(list[1]);
        if (high < 0 || low < 0)
            return false;
        bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
        list.remove_prefix(2);
        if (list.empty())
            return true;
        if (list.front() != ',')
            return false;
        list.remove_prefix(1);
    }
}

// A quoted token at the start of `rest`, with \\ and \" unescaped; `rest` moves past it. The two
// escapes are ASCII, which never occurs inside a multi-byte UTF-8 sequence.
bool ParseQuoted(std::string_view& rest, std::u16string& text)
{
    if (rest.empty() || rest.front() != '"')
        return false;
    std::string bytes;
    for (std::size_t at = 1;;) {
        const std::size_t special = rest.find_first_of("\"\\", at);
        if (special == std::string_view::npos)
            return false;
        bytes.append(rest.substr(at, special - at));
        if (rest[special] == '"') {
            rest.remove_prefix(special + 1);
            return DecodeUtf8(bytes, text);
        }
        if (special + 1 >= rest.size() || (rest[special + 1] != '\\' && rest[special + 1] != '"'))
            return false;
        bytes.push_back(rest[special + 1]);
        at = special + 2;
    }
}

void AppendUtf16Le(std::vector<std::uint8_t>& bytes, std::u16string_view text)
{
    bytes.reserve(bytes.size() + 2 * text.size() + 2);
    for (char16_t unit : text) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
}

// The data after "name=". Hex lists may continue on the following lines after a final '\'.
bool ParseData(std::string_view data, LineReader& lines, RegistryValue& value)
{
    value.data.clear();
    if (!data.empty() && data.front() == '"') {
        std::u16string text;
        if (!ParseQuoted(data, text) || !data.empty())
            return false;
        value.type = kRegSz;
        AppendUtf16Le(value.data, text);
        value.data.insert(value.data.end(), {0, 0});
        return true;
    }
    if (text::StartsWithIgnoringAsciiCase(data, "dword:")) {
        std::uint32_t number = 0;
        if (!ParseHexNumber(data.substr(6), number))
            return false;
        value.type = kRegDword;
        value.data.reserve(4);
        for (int shift = 0; shift < 32; shift += 8)
            value.data.push_back(static_cast<std::uint8_t>(number >> shift));
        return true;
    }
    if (text::StartsWithIgnoringAsciiCase(data, "hex:")) {
        value.type = kRegBinary;
        data.remove_prefix(4);
    } else if (text::StartsWithIgnoringAsciiCase(data, "hex(")) {
        const std::size_t close = data.find("):");
        if (close == std::string_view::npos || !ParseHexNumber(data.substr(4, close - 4), value.type))
            return false;
        data.remove_prefix(close + 2);
    } else {
        return false;
    }
    if (data.empty() || data.back() != '\\')
        return ParseByteList(data, value.data);
    std::string list(data);
    while (!list.empty() && list.back() == '\\') {
        list.pop_back();
        std::string_view next;
        if (!lines.Next(next))
            return false;
        list += Trim(next);
    }
    return ParseByteList(list, value.data);
}

bool ParseValueLine(std::string_view line, LineReader& lines, RegistryValue& value)
{
    value.name.clear();
    if (!line.empty() && line.front() == '@')
        line.remove_prefix(1);
    else if (!ParseQuoted(line, value.name) || !IsWritableRegistryText(value.name))
        return false;
    if (line.empty() || line.front() != '=')
        return false;
    line.remove_prefix(1);
    return ParseData(line, lines, value);
}

// A name as SameRegistryName compares it: ASCII letters in lower case.
std::u16string FoldedName(std::u16string_view name)
{
    std::u16string folded(name);
    for (char16_t& c : folded)
        c = text::AsciiLower(c);
    return folded;
}

// FNV-1a over the names as SameRegistryName compares them.
std::size_t FoldedHash(std::u16string_view name)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (char16_t c : name) {
        hash ^= static_cast<std::uint64_t>(text::AsciiLower(c));
        hash *= 1099511628211ull;
    }
    return static_cast<std::size_t>(hash);
}

// Merges repeated names as regedit does: the last data wins, the first spelling and place stay.
// A store may hold thousands of values, so repeats are found through a small hash table of
// indexes (open addressing, no allocation per value).
void MergeRepeatedValues(std::vector<RegistryValue>& values)
{
    std::size_t capacity = 16;
    while (capacity < 2 * values.size())
        capacity *= 2;
    constexpr std::size_t kEmpty = ~std::size_t{0};
    std::vector<std::size_t> table(capacity, kEmpty);
    std::vector<bool> repeated(values.size(), false);
    bool anyRepeated = false;
    for (std::size_t i = 0; i < values.size(); ++i) {
        std::size_t slot = FoldedHash(values[i].name) & (capacity - 1);
        while (table[slot] != kEmpty && !SameRegistryName(values[table[slot]].name, values[i].name))
            slot = (slot + 1) & (capacity - 1);
        if (table[slot] == kEmpty) {
            table[slot] = i;
            continue;
        }
        RegistryValue& first = values[table[slot]];
        first.type = values[i].type;
        first.data = std::move(values[i].data);
        repeated[i] = anyRepeated = true;
    }
    if (!anyRepeated)
        return;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (repeated[i])
            continue;
        if (kept != i)
            values[kept] = std::move(values[i]);
        ++kept;
    }
    values.resize(kept);
}

}  // namespace

bool ParseRegistryFile(std::string_view text, RegistryDocument& document)
{
    document.sections.clear();
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());
    LineReader lines(text);
    std::string_view line;
    bool headerSeen = false;
    RegistrySection* section = nullptr;
    // Each section's place by its folded path: a store may hold tens of thousands of sections,
    // and it is read again at every key open.
    std::unordered_map<std::u16string, std::size_t> sectionIndex;
    while (lines.Next(line)) {
        line = Trim(line);
        if (line.empty() || line.front() == ';')
            continue;
        if (!headerSeen) {
            if (line != kHeader)
                return false;
            headerSeen = true;
            continue;
        }
        if (line.front() == '[') {
            std::u16string path;
            if (line.back() != ']' || !DecodeUtf8(line.substr(1, line.size() - 2), path) || !IsWritableKeyPath(path))
                return false;
            // A repeated section continues the first one.
            const auto [place, added] = sectionIndex.try_emplace(FoldedName(path), document.sections.size());
            if (added)
                document.sections.push_back(RegistrySection{std::move(path), {}});
            section = &document.sections[place->second];
            continue;
        }
        if (!section || !ParseValueLine(line, lines, section->values.emplace_back()))
            return false;
    }
    for (RegistrySection& each : document.sections)
        MergeRepeatedValues(each.values);
    return true;
}

}  // namespace Win32::API
