// Reading and writing regedit's text format. The whole file is decoded to UTF-16 first, so that
// names and strings are handled in the registry's own units.
#include "foundation/win32api/RegistryFile.h"

#include <algorithm>

#include "foundation/text/Utf.h"

namespace Win32::API {
namespace {

constexpr std::u16string_view kHeader = u"Windows Registry Editor Version 5.00";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// regedit keeps hex lists within this many columns, continuing them on indented lines.
constexpr std::size_t kLineWidth = 80;

char16_t FoldCase(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool StartsWithFolded(std::u16string_view text, std::u16string_view prefix)
{
    return text.size() >= prefix.size() && SameRegistryName(text.substr(0, prefix.size()), prefix);
}

std::u16string_view Trim(std::u16string_view text)
{
    const auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Physical lines, LF or CR LF terminated.
class LineReader {
public:
    explicit LineReader(std::u16string_view text) : m_rest(text) {}

    bool Next(std::u16string_view& line)
    {
        if (m_rest.empty())
            return false;
        const std::size_t end = m_rest.find(u'\n');
        line = m_rest.substr(0, end);
        m_rest = end == std::u16string_view::npos ? std::u16string_view{} : m_rest.substr(end + 1);
        if (!line.empty() && line.back() == u'\r')
            line.remove_suffix(1);
        return true;
    }

private:
    std::u16string_view m_rest;
};

int HexValue(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    c = FoldCase(c);
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    return -1;
}

// One to eight hex digits, all of `digits`.
bool ParseHexNumber(std::u16string_view digits, std::uint32_t& number)
{
    if (digits.empty() || digits.size() > 8)
        return false;
    number = 0;
    for (char16_t c : digits) {
        const int value = HexValue(c);
        if (value < 0)
            return false;
        number = (number << 4) | static_cast<std::uint32_t>(value);
    }
    return true;
}

// "xx,xx,...": two hex digits per byte; an empty list is no bytes.
bool ParseByteList(std::u16string_view list, std::vector<std::uint8_t>& bytes)
{
    bytes.clear();
    if (list.empty())
        return true;
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
        if (list.front() != u',')
            return false;
        list.remove_prefix(1);
    }
}

// A quoted token at the start of `rest`, with \\ and \" unescaped; `rest` moves past it.
bool ParseQuoted(std::u16string_view& rest, std::u16string& text)
{
    text.clear();
    if (rest.empty() || rest.front() != u'"')
        return false;
    for (std::size_t i = 1; i < rest.size(); ++i) {
        const char16_t c = rest[i];
        if (c == u'"') {
            rest.remove_prefix(i + 1);
            return true;
        }
        if (c == u'\\') {
            if (i + 1 >= rest.size() || (rest[i + 1] != u'\\' && rest[i + 1] != u'"'))
                return false;
            text.push_back(rest[++i]);
        } else {
            text.push_back(c);
        }
    }
    return false;
}

void AppendUtf16Le(std::vector<std::uint8_t>& bytes, std::u16string_view text)
{
    for (char16_t unit : text) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
}

// The data after "name=". Hex lists may continue on the following lines after a final '\'.
bool ParseData(std::u16string_view data, LineReader& lines, RegistryValue& value)
{
    value.data.clear();
    if (!data.empty() && data.front() == u'"') {
        std::u16string text;
        if (!ParseQuoted(data, text) || !data.empty())
            return false;
        value.type = kRegSz;
        AppendUtf16Le(value.data, text);
        AppendUtf16Le(value.data, std::u16string_view(u"\0", 1));
        return true;
    }
    if (StartsWithFolded(data, u"dword:")) {
        std::uint32_t number = 0;
        if (!ParseHexNumber(data.substr(6), number))
            return false;
        value.type = kRegDword;
        for (int shift = 0; shift < 32; shift += 8)
            value.data.push_back(static_cast<std::uint8_t>(number >> shift));
        return true;
    }
    if (StartsWithFolded(data, u"hex:")) {
        value.type = kRegBinary;
        data.remove_prefix(4);
    } else if (StartsWithFolded(data, u"hex(")) {
        const std::size_t close = data.find(u"):");
        if (close == std::u16string_view::npos || !ParseHexNumber(data.substr(4, close - 4), value.type))
            return false;
        data.remove_prefix(close + 2);
    } else {
        return false;
    }
    std::u16string list(data);
    while (!list.empty() && list.back() == u'\\') {
        list.pop_back();
        std::u16string_view next;
        if (!lines.Next(next))
            return false;
        list += Trim(next);
    }
    return ParseByteList(list, value.data);
}

bool ParseValueLine(std::u16string_view line, LineReader& lines, RegistryValue& value)
{
    value.name.clear();
    if (!line.empty() && line.front() == u'@')
        line.remove_prefix(1);
    else if (!ParseQuoted(line, value.name))
        return false;
    if (line.empty() || line.front() != u'=')
        return false;
    line.remove_prefix(1);
    return ParseData(line, lines, value);
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// --- Writing ---

void AppendEscaped(std::u16string& out, std::u16string_view text)
{
    for (char16_t c : text) {
        if (c == u'\\' || c == u'"')
            out.push_back(u'\\');
        out.push_back(c);
    }
}

void AppendHex(std::u16string& out, std::uint32_t number, int minDigits)
{
    constexpr char16_t kDigits[] = u"0123456789abcdef";
    char16_t buffer[8];
    int count = 0;
    do {
        buffer[count++] = kDigits[number & 0xF];
        number >>= 4;
    } while (number != 0 || count < minDigits);
    while (count > 0)
        out.push_back(buffer[--count]);
}

// The text of a REG_SZ that the quoted form carries exactly: UTF-16LE with one final zero unit
// and nothing a quoted line cannot hold. False when the value needs the hex form.
bool QuotableString(const std::vector<std::uint8_t>& data, std::u16string& text)
{
    if (data.size() < 2 || data.size() % 2 != 0)
        return false;
    text.clear();
    const std::size_t units = data.size() / 2 - 1;
    if (data[2 * units] != 0 || data[2 * units + 1] != 0)
        return false;
    for (std::size_t i = 0; i < units; ++i)
        text.push_back(static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8)));
    return IsWritableRegistryText(text);
}

void AppendByteList(std::u16string& out, std::size_t lineStart, const std::vector<std::uint8_t>& data)
{
    bool lineHasBytes = false;
    for (std::size_t i = 0; i < data.size(); ++i) {
        const std::size_t pieceLength = i + 1 < data.size() ? 3 : 2;
        // Room for the piece and a continuation mark.
        if (lineHasBytes && out.size() - lineStart + pieceLength + 1 > kLineWidth) {
            out += u"\\\n  ";
            lineStart = out.size() - 2;
        }
        AppendHex(out, data[i], 2);
        if (i + 1 < data.size())
            out.push_back(u',');
        lineHasBytes = true;
    }
}

void AppendValue(std::u16string& out, const RegistryValue& value)
{
    const std::size_t lineStart = out.size();
    if (value.name.empty()) {
        out.push_back(u'@');
    } else {
        out.push_back(u'"');
        AppendEscaped(out, value.name);
        out.push_back(u'"');
    }
    out.push_back(u'=');
    std::u16string text;
    if (value.type == kRegSz && QuotableString(value.data, text)) {
        out.push_back(u'"');
        AppendEscaped(out, text);
        out.push_back(u'"');
    } else if (value.type == kRegDword && value.data.size() == 4) {
        out += u"dword:";
        const auto& d = value.data;
        AppendHex(out, static_cast<std::uint32_t>(d[0] | (d[1] << 8) | (d[2] << 16)) | (std::uint32_t{d[3]} << 24), 8);
    } else {
        out += u"hex(";
        AppendHex(out, value.type, 1);
        out += u"):";
        AppendByteList(out, lineStart, value.data);
    }
    out.push_back(u'\n');
}

// Shared by the const and non-const look-ups.
template <class Section>
auto FindValueIn(Section& section, std::u16string_view name) -> decltype(section.values.data())
{
    for (auto& value : section.values)
        if (SameRegistryName(value.name, name))
            return &value;
    return nullptr;
}

template <class Document>
auto FindSectionIn(Document& document, std::u16string_view path) -> decltype(document.sections.data())
{
    for (auto& section : document.sections)
        if (SameRegistryName(section.path, path))
            return &section;
    return nullptr;
}

}  // namespace

RegistryValue* RegistrySection::FindValue(std::u16string_view name)
{
    return FindValueIn(*this, name);
}

const RegistryValue* RegistrySection::FindValue(std::u16string_view name) const
{
    return FindValueIn(*this, name);
}

void RegistrySection::SetValue(std::u16string_view name, std::uint32_t type, std::vector<std::uint8_t> data)
{
    if (RegistryValue* existing = FindValue(name)) {
        existing->type = type;
        existing->data = std::move(data);
    } else {
        values.push_back(RegistryValue{std::u16string(name), type, std::move(data)});
    }
}

bool RegistrySection::EraseValue(std::u16string_view name)
{
    const auto found = std::find_if(values.begin(), values.end(),
                                    [name](const RegistryValue& value) { return SameRegistryName(value.name, name); });
    if (found == values.end())
        return false;
    values.erase(found);
    return true;
}

RegistrySection* RegistryDocument::FindSection(std::u16string_view path)
{
    return FindSectionIn(*this, path);
}

const RegistrySection* RegistryDocument::FindSection(std::u16string_view path) const
{
    return FindSectionIn(*this, path);
}

bool operator==(const RegistryValue& a, const RegistryValue& b)
{
    return a.name == b.name && a.type == b.type && a.data == b.data;
}

bool operator==(const RegistrySection& a, const RegistrySection& b)
{
    return a.path == b.path && a.values == b.values;
}

bool operator==(const RegistryDocument& a, const RegistryDocument& b)
{
    return a.sections == b.sections;
}

bool SameRegistryName(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldCase(a[i]) != FoldCase(b[i]))
            return false;
    return true;
}

bool IsWritableRegistryText(std::u16string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == 0 || c == u'\r' || c == u'\n' || IsLowSurrogate(c))
            return false;
        if (IsHighSurrogate(c)) {
            if (i + 1 >= text.size() || !IsLowSurrogate(text[i + 1]))
                return false;
            ++i;
        }
    }
    return true;
}

bool IsWritableKeyPath(std::u16string_view path)
{
    // A leading '-' would read as regedit's "delete this key".
    if (path.empty() || path.front() == u'-' || !IsWritableRegistryText(path))
        return false;
    return path.front() != u'\\' && path.back() != u'\\' && path.find(u"\\\\") == std::u16string_view::npos;
}

bool ParseRegistryFile(std::string_view text, RegistryDocument& document)
{
    document.sections.clear();
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());
    const std::u16string wide = text::Utf8ToUtf16(text);
    // The converter replaces malformed sequences; only valid UTF-8 comes back unchanged.
    if (text::Utf16ToUtf8(wide) != text)
        return false;

    LineReader lines(wide);
    std::u16string_view line;
    bool headerSeen = false;
    std::size_t current = 0;  // index of the open section + 1; 0 before the first
    while (lines.Next(line)) {
        line = Trim(line);
        if (line.empty() || line.front() == u';')
            continue;
        if (!headerSeen) {
            if (line != kHeader)
                return false;
            headerSeen = true;
            continue;
        }
        if (line.front() == u'[') {
            if (line.back() != u']')
                return false;
            const std::u16string_view path = line.substr(1, line.size() - 2);
            if (!IsWritableKeyPath(path))
                return false;
            const RegistrySection* existing = document.FindSection(path);
            if (existing) {
                current = static_cast<std::size_t>(existing - document.sections.data()) + 1;
            } else {
                document.sections.push_back(RegistrySection{std::u16string(path), {}});
                current = document.sections.size();
            }
            continue;
        }
        RegistryValue value;
        if (current == 0 || !ParseValueLine(line, lines, value))
            return false;
        document.sections[current - 1].SetValue(value.name, value.type, std::move(value.data));
    }
    return true;
}

bool SerializeRegistryFile(const RegistryDocument& document, std::string& text)
{
    std::u16string out(kHeader);
    out += u"\n\n";
    for (const RegistrySection& section : document.sections) {
        if (!IsWritableKeyPath(section.path))
            return false;
        out += u"[";
        out += section.path;
        out += u"]\n";
        for (const RegistryValue& value : section.values) {
            if (!IsWritableRegistryText(value.name))
                return false;
            AppendValue(out, value);
        }
        out += u"\n";
    }
    text = text::Utf16ToUtf8(out);
    return true;
}

}  // namespace Win32::API
