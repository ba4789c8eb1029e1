// URL splitting of the HTTP client. Accepted parts keep to their limits and their alphabets, put
// together again they split into the same parts, and the scheme's case changes nothing; the
// request target is what a request line may carry.

#include <cstdint>
#include <string>

#include "foundation/http/UrlParts.h"
#include "fuzz/FuzzSupport.h"

namespace {
using http::UrlParts;

bool Forbidden(char16_t unit)
{
    return unit <= u' ' || unit == 0x7F;
}

bool HasAny(std::u16string_view text, std::u16string_view units)
{
    return text.find_first_of(units) != std::u16string_view::npos;
}

bool Clean(std::u16string_view text)
{
    for (char16_t unit : text)
        if (Forbidden(unit))
            return false;
    return true;
}

bool operator==(const UrlParts& a, const UrlParts& b)
{
    return a.scheme == b.scheme && a.host == b.host && a.port == b.port && a.userName == b.userName &&
           a.password == b.password && a.path == b.path && a.extra == b.extra;
}

std::u16string Decimal(unsigned number)
{
    const std::string digits = std::to_string(number);
    return std::u16string(digits.begin(), digits.end());
}

// The URL the parts came from, up to what splitting forgets (a default port, an empty user).
std::u16string Compose(const UrlParts& parts, bool authority)
{
    std::u16string url = parts.scheme + u":";
    if (authority) {
        url += u"//";
        if (!parts.userName.empty() || !parts.password.empty())
            url += parts.userName + (parts.password.empty() ? u"" : u":" + parts.password) + u"@";
        url += parts.host;
        if (parts.port != http::DefaultPort(parts.scheme))
            url += u":" + Decimal(parts.port);
    }
    return url + parts.path + parts.extra;
}

void CheckParts(const UrlParts& parts, bool authority)
{
    FUZZ_CHECK(!parts.scheme.empty() && parts.scheme.size() <= http::kMaxSchemeLength);
    FUZZ_CHECK(parts.scheme[0] >= u'a' && parts.scheme[0] <= u'z');
    for (char16_t unit : parts.scheme)
        FUZZ_CHECK((unit >= u'a' && unit <= u'z') || (unit >= u'0' && unit <= u'9') || unit == u'+' || unit == u'-' ||
                   unit == u'.');
    FUZZ_CHECK(parts.host.size() <= http::kMaxHostLength && parts.userName.size() <= http::kMaxUserNameLength &&
               parts.password.size() <= http::kMaxPasswordLength && parts.path.size() <= http::kMaxPathLength &&
               parts.extra.size() <= http::kMaxExtraLength);
    for (const std::u16string* part : {&parts.host, &parts.userName, &parts.password, &parts.path, &parts.extra})
        FUZZ_CHECK(Clean(*part));
    FUZZ_CHECK(!HasAny(parts.host, u"@/?#"));
    // A colon in the host only inside an IPv6 literal's brackets.
    FUZZ_CHECK(!HasAny(parts.host, u":") || (parts.host.front() == u'[' && parts.host.back() == u']'));
    FUZZ_CHECK(!HasAny(parts.userName, u":/?#"));
    FUZZ_CHECK(!HasAny(parts.path, u"?#"));
    FUZZ_CHECK(parts.extra.empty() || parts.extra[0] == u'?' || parts.extra[0] == u'#');
    if (authority)
        FUZZ_CHECK(parts.path.empty() || parts.path[0] == u'/');
    else
        FUZZ_CHECK(parts.host.empty() && parts.userName.empty() && parts.password.empty() &&
                   parts.path.substr(0, 2) != u"//");
    FUZZ_CHECK(parts.port != 0 || http::DefaultPort(parts.scheme) == 0);

    const std::u16string target = http::RequestTarget(parts);
    FUZZ_CHECK(!target.empty() && !HasAny(target, u"#") && Clean(target));
    FUZZ_CHECK(target.compare(0, parts.path.size(), parts.path) == 0);
    // The client connects only to a host; a request line then asks for an absolute path.
    if (!parts.host.empty())
        FUZZ_CHECK(target[0] == u'/');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::u16string url = fuzzsupport::Text16(data, size);
    UrlParts parts;
    const bool accepted = http::SplitUrl(url, parts);

    // The scheme compares in any case.
    std::u16string shouted = url;
    for (std::size_t i = 0; i < shouted.size() && shouted[i] != u':'; ++i)
        if (shouted[i] >= u'a' && shouted[i] <= u'z')
            shouted[i] = static_cast<char16_t>(shouted[i] - u'a' + u'A');
    UrlParts shoutedParts;
    FUZZ_CHECK(http::SplitUrl(shouted, shoutedParts) == accepted);
    if (!accepted)
        return 0;
    FUZZ_CHECK(shoutedParts == parts);

    const std::size_t colon = url.find(u':');
    const bool authority = url.compare(colon + 1, 2, u"//") == 0;
    CheckParts(parts, authority);

    UrlParts again;
    FUZZ_CHECK(http::SplitUrl(Compose(parts, authority), again));
    FUZZ_CHECK(again == parts);
    return 0;
}
