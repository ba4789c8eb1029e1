#include "dialogserver/dialogs/PageAddress.h"

#include <algorithm>

#include "dialogserver/dialogs/HexDigit.h"
#include "foundation/text/OrdinalCase.h"
#include "foundation/text/Utf.h"

namespace dialogserver::dialogs {
namespace {

bool IsAsciiLetter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool IsSeparator(char16_t c)
{
    return c == u'/' || c == u'\\';
}

// "C:" or the old "C|" at the start of `text`.
bool StartsWithDrive(std::u16string_view text)
{
    return text.size() >= 2 && IsAsciiLetter(text[0]) && (text[1] == u':' || text[1] == u'|');
}

// Each run of escapes decodes as UTF-8. A run that is not UTF-8 stays escaped, with upper-case
// digits, so that it still equals the same bytes written in the other case.
std::u16string DecodeEscapes(std::u16string_view text)
{
    std::u16string decoded;
    std::size_t i = 0;
    while (i < text.size()) {
        std::string bytes;
        std::u16string escapes;
        while (i + 2 < text.size() && text[i] == u'%' && HexDigit(text[i + 1]) >= 0 && HexDigit(text[i + 2]) >= 0) {
            const int value = HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]);
            bytes.push_back(static_cast<char>(value));
            constexpr char16_t kDigits[] = u"0123456789ABCDEF";
            escapes += {u'%', kDigits[value / 16], kDigits[value % 16]};
            i += 3;
        }
        if (!bytes.empty()) {
            const std::u16string units = text::Utf8ToUtf16(bytes);
            decoded += text::Utf16ToUtf8(units) == bytes ? units : escapes;
            continue;
        }
        decoded.push_back(text[i++]);
    }
    return decoded;
}

// Separators as "\", and "C|" as "C:"; a "\" before the drive goes ("/C:/x" is C:\x).
std::u16string WindowsPath(std::u16string path)
{
    std::replace(path.begin(), path.end(), u'/', u'\\');
    if (path.size() >= 3 && path[0] == u'\\' && StartsWithDrive(std::u16string_view(path).substr(1)))
        path.erase(0, 1);
    if (StartsWithDrive(path))
        path[1] = u':';
    return path;
}

bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix)
{
    return text.size() >= prefix.size() && text::EqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

// The path part of what follows "file:": after "//" comes a host (none, "localhost", or a
// server for a UNC path), unless a drive follows at once as in "file://C:\x".
std::u16string FilePathPart(std::u16string_view rest)
{
    if (rest.size() < 2 || rest[0] != u'/' || rest[1] != u'/')
        return std::u16string(rest);
    rest.remove_prefix(2);
    if (StartsWithDrive(rest))
        return std::u16string(rest);
    const std::size_t hostEnd = std::min(rest.find(u'/'), rest.find(u'\\'));
    const std::u16string_view host = rest.substr(0, hostEnd);
    if (host.empty() || text::EqualsIgnoringCase(host, u"localhost"))
        return hostEnd == std::u16string_view::npos ? std::u16string() : std::u16string(rest.substr(hostEnd));
    return u"\\\\" + std::u16string(rest);
}

}  // namespace

std::optional<std::u16string> FileAddressPath(std::u16string_view address)
{
    constexpr std::u16string_view kScheme = u"file:";
    if (StartsWithNoCase(address, kScheme)) {
        std::u16string path = WindowsPath(DecodeEscapes(FilePathPart(address.substr(kScheme.size()))));
        if (path.empty())
            return std::nullopt;
        return path;
    }
    // A path as it is: "C:\x", "C:/x", "\\server\share".
    const bool drivePath =
        address.size() >= 3 && IsAsciiLetter(address[0]) && address[1] == u':' && IsSeparator(address[2]);
    const bool uncPath = address.size() >= 3 && IsSeparator(address[0]) && IsSeparator(address[1]);
    if (drivePath || uncPath)
        return WindowsPath(std::u16string(address));
    return std::nullopt;
}

bool IsSamePageAddress(std::u16string_view reported, std::u16string_view expected)
{
    if (reported == expected)
        return true;
    const std::optional<std::u16string> reportedFile = FileAddressPath(reported);
    const std::optional<std::u16string> expectedFile = FileAddressPath(expected);
    return reportedFile && expectedFile && text::EqualsIgnoringCase(*reportedFile, *expectedFile);
}

}  // namespace dialogserver::dialogs
