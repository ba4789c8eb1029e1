#include "foundation/http/UrlParts.h"

#include <algorithm>

#include "foundation/text/AsciiCase.h"

namespace http {
namespace {
constexpr std::u16string_view kAuthorityStart = u"//";
constexpr std::u16string_view kAuthorityEnd = u"/?#";

bool IsAsciiLetter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool IsAsciiDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// White space and control characters never belong in a URL; letting them through would put
// them into a request line.
bool HasForbiddenCharacter(std::u16string_view url)
{
    for (char16_t c : url) {
        if (c <= u' ' || c == 0x7F)
            return true;
    }
    return false;
}

bool SplitScheme(std::u16string_view url, std::u16string& scheme, std::u16string_view& rest)
{
    const std::size_t colon = url.find(u':');
    if (colon == std::u16string_view::npos || colon == 0 || colon > kMaxSchemeLength || !IsAsciiLetter(url[0]))
        return false;
    scheme.clear();
    for (char16_t c : url.substr(0, colon)) {
        if (!IsAsciiLetter(c) && !IsAsciiDigit(c) && c != u'+' && c != u'-' && c != u'.')
            return false;
        scheme += text::AsciiLower(c);
    }
    rest = url.substr(colon + 1);
    return true;
}

bool ParsePort(std::u16string_view text, std::uint16_t& port)
{
    if (text.empty() || text.size() > 5)
        return false;
    std::uint32_t value = 0;
    for (char16_t c : text) {
        if (!IsAsciiDigit(c))
            return false;
        value = value * 10 + static_cast<std::uint32_t>(c - u'0');
    }
    if (value == 0 || value > 0xFFFF)
        return false;
    port = static_cast<std::uint16_t>(value);
    return true;
}

// host [":" port], where an IPv6 literal in brackets may itself contain colons.
bool SplitHostAndPort(std::u16string_view hostPort, UrlParts& parts)
{
    std::size_t hostEnd = 0;
    if (!hostPort.empty() && hostPort.front() == u'[') {
        const std::size_t close = hostPort.find(u']');
        if (close == std::u16string_view::npos)
            return false;
        hostEnd = close + 1;
        if (hostEnd < hostPort.size() && hostPort[hostEnd] != u':')
            return false;
    } else {
        hostEnd = std::min(hostPort.find(u':'), hostPort.size());
    }
    if (hostEnd > kMaxHostLength)
        return false;
    parts.host = hostPort.substr(0, hostEnd);
    if (hostEnd + 1 < hostPort.size())
        return ParsePort(hostPort.substr(hostEnd + 1), parts.port);
    return true;
}

bool SplitAuthority(std::u16string_view authority, UrlParts& parts)
{
    const std::size_t at = authority.rfind(u'@');
    if (at != std::u16string_view::npos) {
        const std::u16string_view userInfo = authority.substr(0, at);
        const std::size_t colon = userInfo.find(u':');
        const std::u16string_view user = userInfo.substr(0, colon);
        const std::u16string_view password =
            colon == std::u16string_view::npos ? std::u16string_view() : userInfo.substr(colon + 1);
        if (user.size() > kMaxUserNameLength || password.size() > kMaxPasswordLength)
            return false;
        parts.userName = user;
        parts.password = password;
        authority.remove_prefix(at + 1);
    }
    return SplitHostAndPort(authority, parts);
}
}  // namespace

std::uint16_t DefaultPort(std::u16string_view scheme)
{
    struct Known {
        std::u16string_view scheme;
        std::uint16_t port;
    };
    static constexpr Known kKnown[] = {
        {u"ftp", 21}, {u"gopher", 70}, {u"http", 80}, {u"https", 443}, {u"socks", 1080},
    };
    std::u16string lower;
    for (char16_t c : scheme)
        lower += text::AsciiLower(c);
    for (const Known& known : kKnown) {
        if (known.scheme == lower)
            return known.port;
    }
    return 0;
}

bool SplitUrl(std::u16string_view url, UrlParts& parts)
{
    parts = UrlParts();
    if (HasForbiddenCharacter(url))
        return false;
    std::u16string_view rest;
    if (!SplitScheme(url, parts.scheme, rest))
        return false;
    parts.port = DefaultPort(parts.scheme);

    if (rest.substr(0, kAuthorityStart.size()) == kAuthorityStart) {
        rest.remove_prefix(kAuthorityStart.size());
        const std::size_t end = std::min(rest.find_first_of(kAuthorityEnd), rest.size());
        if (!SplitAuthority(rest.substr(0, end), parts))
            return false;
        rest.remove_prefix(end);
    }

    const std::size_t extraStart = std::min(rest.find_first_of(u"?#"), rest.size());
    if (extraStart > kMaxPathLength || rest.size() - extraStart > kMaxExtraLength)
        return false;
    parts.path = rest.substr(0, extraStart);
    parts.extra = rest.substr(extraStart);
    return true;
}

std::u16string RequestTarget(const UrlParts& parts)
{
    std::u16string target = parts.path.empty() ? u"/" : parts.path;
    target += std::u16string_view(parts.extra).substr(0, parts.extra.find(u'#'));
    return target;
}

}  // namespace http
