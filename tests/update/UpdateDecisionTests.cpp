#include <gtest/gtest.h>

#include "update/UpdateCheck.h"

namespace {
using update::IsCheckDue;
using update::ReadUpdateDocument;

TEST(UpdateInterval, DueOnceTheDaysHavePassed)
{
    const std::int64_t now = 1'800'000'000;
    const std::int64_t day = 86400;
    EXPECT_TRUE(IsCheckDue(0, 1, now));  // never checked
    EXPECT_FALSE(IsCheckDue(now - 86399, 1, now));
    EXPECT_TRUE(IsCheckDue(now - 86400, 1, now));
    EXPECT_TRUE(IsCheckDue(now, 0, now));       // interval 0: every time
    EXPECT_FALSE(IsCheckDue(now + 5, 0, now));  // clock set back
    EXPECT_FALSE(IsCheckDue(now - day * 6, 7, now));
    EXPECT_TRUE(IsCheckDue(now - day * 7, 7, now));
    // 49711 days overflow 32 bits: the interval wraps to 49711 * 86400 - 2^32 = 63104 seconds.
    EXPECT_TRUE(IsCheckDue(now - 63104, 49711, now));
    EXPECT_FALSE(IsCheckDue(now - 63103, 49711, now));
    EXPECT_FALSE(IsCheckDue(now + day * 10, 1, now));  // a time stored in the future
}

TEST(UpdateDocumentReading, AttributesFirstThenChildrenLaterWins)
{
    auto document = ReadUpdateDocument(
        u"<vocabra version=\"1.0.0.1\" update_link=\"http://a/\">"
        u"<version> 2.0.0.0 </version></vocabra>");
    EXPECT_TRUE(document.matched);
    EXPECT_EQ(document.version, u"2.0.0.0");
    EXPECT_EQ(document.updateLink, u"http://a/");

    document = ReadUpdateDocument(
        u"<?xml version=\"1.0\"?><!-- published --><r>"
        u"<version> 3.<b>x</b>1 </version><Update_Link>ignored</Update_Link></r>");
    EXPECT_EQ(document.version, u"3.1");
    EXPECT_TRUE(document.updateLink.empty());

    EXPECT_FALSE(ReadUpdateDocument(u"<r><other>1</other></r>").matched);
    EXPECT_FALSE(ReadUpdateDocument(u"not xml at all").matched);
    EXPECT_FALSE(ReadUpdateDocument(u"<r><version>1</version>").matched);  // does not parse
}

TEST(VersionText, FourSixteenBitNumbers)
{
    EXPECT_EQ(update::FormatVersionText(0x00010003, 0x0004000B), u"1.3.4.11");
    EXPECT_EQ(update::FormatVersionText(0xFFFF0000, 0x0000FFFF), u"65535.0.0.65535");
    EXPECT_EQ(update::GetVersionText(), u"" VOCABRA_VERSION_TEXT);
}

}  // namespace
