#include <string>

#include <gtest/gtest.h>

#include "foundation/http/UrlParts.h"

namespace {
using http::SplitUrl;
using http::UrlParts;

std::u16string Repeat(char16_t c, std::size_t count)
{
    return std::u16string(count, c);
}

UrlParts Split(const std::u16string& url)
{
    UrlParts parts;
    EXPECT_TRUE(SplitUrl(url, parts)) << std::string(url.begin(), url.end());
    return parts;
}

TEST(SplitUrl, PortIsTheSchemesDefaultUnlessGiven)
{
    const struct {
        std::u16string url;
        std::uint16_t port;
    } cases[] = {
        {u"http://host/x", 80},        {u"https://host/x", 443},      {u"ftp://host/x", 21},
        {u"gopher://host/x", 70},      {u"socks://host", 1080},       {u"HTTPS://host/x", 443},
        {u"file://host/x", 0},         {u"news://host/x", 0},         {u"mailto://host", 0},
        {u"vocabra://host/x", 0},      {u"http://host:8080/x", 8080}, {u"https://host:80", 80},
        {u"http://host:65535", 65535}, {u"http://host:/x", 80},       {u"http://[::1]:8080/x", 8080},
        {u"http://[::1]/x", 80},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Split(c.url).port, c.port) << std::string(c.url.begin(), c.url.end());
}

TEST(SplitUrl, PartsOfAFullUrl)
{
    const UrlParts parts = Split(u"HTTP://user:pa:ss@Example.com:8080/tools/update.xml?v=1&x=2#top");
    EXPECT_EQ(parts.scheme, u"http");
    EXPECT_EQ(parts.userName, u"user");
    EXPECT_EQ(parts.password, u"pa:ss");
    EXPECT_EQ(parts.host, u"Example.com");
    EXPECT_EQ(parts.port, 8080);
    EXPECT_EQ(parts.path, u"/tools/update.xml");
    EXPECT_EQ(parts.extra, u"?v=1&x=2#top");

    const UrlParts userOnly = Split(u"ftp://a@b@host/");
    EXPECT_EQ(userOnly.userName, u"a@b");
    EXPECT_EQ(userOnly.password, u"");
    EXPECT_EQ(userOnly.host, u"host");

    const UrlParts noAuthority = Split(u"mailto:someone@example.com");
    EXPECT_EQ(noAuthority.host, u"");
    EXPECT_EQ(noAuthority.path, u"someone@example.com");
    EXPECT_EQ(noAuthority.port, 0);
}

TEST(SplitUrl, ExtraStartsAtTheFirstQuestionMarkOrHash)
{
    const struct {
        std::u16string url;
        std::u16string path;
        std::u16string extra;
        std::u16string target;
    } cases[] = {
        {u"http://h", u"", u"", u"/"},
        {u"http://h/", u"/", u"", u"/"},
        {u"http://h/a/b.xml", u"/a/b.xml", u"", u"/a/b.xml"},
        {u"http://h?q=1", u"", u"?q=1", u"/?q=1"},
        {u"http://h/p?q=1#f", u"/p", u"?q=1#f", u"/p?q=1"},
        {u"http://h/p#f?q=1", u"/p", u"#f?q=1", u"/p"},
        {u"http://h/p?q=a/b?c", u"/p", u"?q=a/b?c", u"/p?q=a/b?c"},
    };
    for (const auto& c : cases) {
        const UrlParts parts = Split(c.url);
        EXPECT_EQ(parts.path, c.path) << std::string(c.url.begin(), c.url.end());
        EXPECT_EQ(parts.extra, c.extra) << std::string(c.url.begin(), c.url.end());
        EXPECT_EQ(http::RequestTarget(parts), c.target) << std::string(c.url.begin(), c.url.end());
    }
}

TEST(SplitUrl, EachPartHasALimit)
{
    const struct {
        const char* what;
        std::u16string atLimit;
        std::u16string overLimit;
    } cases[] = {
        {"scheme", Repeat(u's', 32) + u"://h/", Repeat(u's', 33) + u"://h/"},
        {"host", u"http://" + Repeat(u'h', 256) + u"/", u"http://" + Repeat(u'h', 257) + u"/"},
        {"user", u"http://" + Repeat(u'u', 128) + u"@h/", u"http://" + Repeat(u'u', 129) + u"@h/"},
        {"password", u"http://u:" + Repeat(u'p', 128) + u"@h/", u"http://u:" + Repeat(u'p', 129) + u"@h/"},
        {"path", u"http://h/" + Repeat(u'p', 2047), u"http://h/" + Repeat(u'p', 2048)},
        {"extra", u"http://h/?" + Repeat(u'e', 2047), u"http://h/?" + Repeat(u'e', 2048)},
        {"fragment", u"http://h/#" + Repeat(u'e', 2047), u"http://h/#" + Repeat(u'e', 2048)},
    };
    for (const auto& c : cases) {
        UrlParts parts;
        EXPECT_TRUE(SplitUrl(c.atLimit, parts)) << c.what;
        EXPECT_FALSE(SplitUrl(c.overLimit, parts)) << c.what;
    }
}

TEST(SplitUrl, RefusesWhatIsNotAnAbsoluteUrl)
{
    const std::u16string cases[] = {
        u"",
        u"www.example.com/update.xml",
        u"//example.com/update.xml",
        u":example.com",
        u"1http://example.com/",
        u"ht tp://example.com/",
        u"http://example.com/a b",
        u" http://example.com/",
        u"http://example.com/\t",
        std::u16string(u"http://example.com/\0x", 21),
        u"http://example.com:0/",
        u"http://example.com:65536/",
        u"http://example.com:8o/",
        u"http://example.com:123456/",
        u"http://[::1/",
        u"http://[::1]x/",
    };
    for (const std::u16string& url : cases) {
        UrlParts parts;
        EXPECT_FALSE(SplitUrl(url, parts)) << std::string(url.begin(), url.end());
    }
}

}  // namespace
