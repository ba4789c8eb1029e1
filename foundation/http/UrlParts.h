#pragma once
// Splits an absolute URL into the parts the HTTP client connects with. Both platforms use this
// one function, so an address is accepted or refused the same way everywhere.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace http {

// Longest accepted part, in UTF-16 code units.
constexpr std::size_t kMaxSchemeLength = 32;
constexpr std::size_t kMaxHostLength = 256;
constexpr std::size_t kMaxUserNameLength = 128;
constexpr std::size_t kMaxPasswordLength = 128;
constexpr std::size_t kMaxPathLength = 2048;
constexpr std::size_t kMaxExtraLength = 2048;

struct UrlParts {
    std::u16string scheme = u"http";  // lower case
    std::u16string host;              // as written; an IPv6 literal keeps its brackets
    std::uint16_t port = 80;
    std::u16string userName;
    std::u16string password;
    std::u16string path;
    std::u16string extra;  // query and fragment: everything from the first "?" or "#"
};

// 21 for ftp, 70 gopher, 80 http, 443 https, 1080 socks (in any case); 0 for every other scheme.
std::uint16_t DefaultPort(std::u16string_view scheme);

// Accepts scheme ":" ["//" [user [":" password] "@"] host [":" port]] path ["?" query] ["#" fragment].
// The scheme is required (a letter, then letters, digits, "+", "-", "."); a given port is 1-65535,
// an empty one means the scheme's default. Refused: white space or control characters anywhere, a
// part longer than its limit. A URL without "//" has no host; the caller decides whether it needs
// one. On failure the contents of `parts` are not to be relied on.
bool SplitUrl(std::u16string_view url, UrlParts& parts);

// What a request line asks for: the path ("/" when empty) and the query. The fragment stays with
// the client, as HTTP requires.
std::u16string RequestTarget(const UrlParts& parts);

}  // namespace http
