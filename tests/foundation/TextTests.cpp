#include <gtest/gtest.h>

#include "foundation/text/Utf.h"
#include "foundation/text/WhiteSpace.h"
#include "foundation/win32api/CommandLine.h"

namespace {

TEST(Utf, RoundTripsEveryPlane)
{
    const std::u16string text = u"A\u00E9\u0436\u20AC\U0001F600z";
    EXPECT_EQ(text::Utf16ToUtf8(text), "A\xC3\xA9\xD0\xB6\xE2\x82\xAC\xF0\x9F\x98\x80z");
    EXPECT_EQ(text::Utf8ToUtf16(text::Utf16ToUtf8(text)), text);
}

TEST(Utf, MalformedInputBecomesReplacementCharacters)
{
    const struct {
        const char* utf8;
        std::u16string expected;
    } cases[] = {
        {"a\x80"
         "b",
         u"a\uFFFDb"},                                      // stray continuation byte
        {"\xC0\xAF", u"\uFFFD\uFFFD"},                      // overlong slash
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},            // encoded surrogate
        {"\xE2\x82", u"\uFFFD\uFFFD"},                      // cut short at the end
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // past U+10FFFF
        {"\xD0"
         "A",
         u"\uFFFDA"},  // lead byte without its continuation
    };
    for (const auto& testCase : cases)
        EXPECT_EQ(text::Utf8ToUtf16(testCase.utf8), testCase.expected) << testCase.utf8;
    EXPECT_EQ(text::Utf16ToUtf8(u"x\xD800y"), "x\xEF\xBF\xBDy");
}

TEST(WhiteSpace, TrimsTheSharedClassOnly)
{
    EXPECT_EQ(text::Trim(u" \t\r\n\v\f\u00A0\u3000word here\u2003\u0085"), u"word here");
    EXPECT_EQ(text::Trim(u"\uFEFFkey"), u"\uFEFFkey");  // a byte-order mark is not white space
    EXPECT_EQ(text::Trim(u"\u200Bx"), u"\u200Bx");      // nor a zero-width space
    EXPECT_EQ(text::TrimLeft(u"  a  "), u"a  ");
    EXPECT_EQ(text::TrimRight(u"  a  "), u"  a");
    EXPECT_EQ(text::Trim(u" \t "), u"");
}

TEST(CommandLine, SplitsAsWindowsDoes)
{
    using Args = std::vector<std::u16string>;
    EXPECT_EQ(Win32::API::SplitCommandLine(u"  prog  a\tb  "), (Args{u"prog", u"a", u"b"}));
    EXPECT_EQ(Win32::API::SplitCommandLine(u"\"C:\\Program Files\\x.exe\" /visible"),
              (Args{u"C:\\Program Files\\x.exe", u"/visible"}));
    EXPECT_EQ(Win32::API::SplitCommandLine(u"a\\\\\"b c\" d"), (Args{u"a\\b c", u"d"}));
    EXPECT_EQ(Win32::API::SplitCommandLine(u"a\\\"b c\\d"), (Args{u"a\"b", u"c\\d"}));
    EXPECT_EQ(Win32::API::SplitCommandLine(u"\"\" \"say \"\"hi\"\"\""), (Args{u"", u"say \"hi\""}));
    EXPECT_TRUE(Win32::API::SplitCommandLine(u"   ").empty());
}

}  // namespace
