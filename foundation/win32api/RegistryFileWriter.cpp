// Writing regedit's text format as UTF-8: strings and DWORDs in their readable forms whenever
// that form carries the exact bytes, every other value as a hex list.
#include "foundation/text/Utf.h"
#include "foundation/win32api/RegistryFile.h"

namespace Win32::API {
namespace {

// regedit keeps hex lists within this many columns, continuing them on indented lines.
constexpr std::size_t kLineWidth = 80;

void AppendEscaped(std::string& out, std::u16string_view text)
{
    const auto append = [&out](char c) {
        if (c == '\\' || c == '"')
            out.push_back('\\');
        out.push_back(c);
    };
    // Plain ASCII needs no conversion; the rest goes through the converter in one piece.
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] >= 0x80) {
            for (char c : text::Utf16ToUtf8(text.substr(i)))
                append(c);
            return;
        }
        append(static_cast<char>(text[i]));
    }
}

void AppendQuoted(std::string& out, std::u16string_view text)
{
    out.push_back('"');
    AppendEscaped(out, text);
    out.push_back('"');
}

void AppendHex(std::string& out, std::uint32_t number, int minDigits)
{
    constexpr char kDigits[] = "0123456789abcdef";
    char buffer[8];
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
    const std::size_t units = data.size() / 2 - 1;
    if (data[2 * units] != 0 || data[2 * units + 1] != 0)
        return false;
    text.clear();
    for (std::size_t i = 0; i < units; ++i)
        text.push_back(static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8)));
    return IsWritableRegistryText(text);
}

void AppendByteList(std::string& out, std::size_t lineStart, const std::vector<std::uint8_t>& data)
{
    bool lineHasBytes = false;
    for (std::size_t i = 0; i < data.size(); ++i) {
        const bool last = i + 1 == data.size();
        // Room for the byte, its comma and a continuation mark.
        if (lineHasBytes && out.size() - lineStart + (last ? 2 : 3) + 1 > kLineWidth) {
            out += "\\\n  ";
            lineStart = out.size() - 2;
        }
        AppendHex(out, data[i], 2);
        if (!last)
            out.push_back(',');
        lineHasBytes = true;
    }
}

void AppendValue(std::string& out, const RegistryValue& value)
{
    const std::size_t lineStart = out.size();
    if (value.name.empty())
        out.push_back('@');
    else
        AppendQuoted(out, value.name);
    out.push_back('=');
    std::u16string text;
    const std::vector<std::uint8_t>& d = value.data;
    if (value.type == kRegSz && QuotableString(d, text)) {
        AppendQuoted(out, text);
    } else if (value.type == kRegDword && d.size() == 4) {
        out += "dword:";
        AppendHex(out,
                  std::uint32_t{d[0]} | (std::uint32_t{d[1]} << 8) | (std::uint32_t{d[2]} << 16) |
                      (std::uint32_t{d[3]} << 24),
                  8);
    } else {
        out += "hex(";
        AppendHex(out, value.type, 1);
        out += "):";
        AppendByteList(out, lineStart, d);
    }
    out.push_back('\n');
}

}  // namespace

bool SerializeRegistryFile(const RegistryDocument& document, std::string& text)
{
    std::string out = "Windows Registry Editor Version 5.00\n\n";
    for (const RegistrySection& section : document.sections) {
        if (!IsWritableKeyPath(section.path))
            return false;
        out.push_back('[');
        out += text::Utf16ToUtf8(section.path);
        out += "]\n";
        for (const RegistryValue& value : section.values) {
            if (!IsWritableRegistryText(value.name))
                return false;
            AppendValue(out, value);
        }
        out.push_back('\n');
    }
    text = std::move(out);
    return true;
}

}  // namespace Win32::API
