#include <gtest/gtest.h>

#include "translate/manager/DirectionName.h"
#include "translate/target/DisplaySettings.h"
#include "translate/target/TabCapableHost.h"

namespace {

TEST(DirectionName, JoinsTheNamesOfSourceAndTarget)
{
    Properties names;
    names.LoadText("en-=English\n-ru=\u2192 Russian\n-x=Lone\nxx=Whole\n");
    EXPECT_EQ(translate::GetDirectionName(names, u"en-ru"), u"English \u2192 Russian");
    EXPECT_EQ(translate::GetDirectionName(names, u"en-ru-x"), u"English ");  // the key "-ru-x" is unknown
    EXPECT_EQ(translate::GetDirectionName(names, u"-x"), u"Lone");
    EXPECT_EQ(translate::GetDirectionName(names, u"en-"), u"English");
    EXPECT_EQ(translate::GetDirectionName(names, u"xx"), u"");
    EXPECT_EQ(translate::GetDirectionName(names, u""), u"");
    EXPECT_EQ(translate::GetDirectionName(names, u"de-fr"), u" ");
    EXPECT_EQ(names.GetString(u"de-"), u"");
    EXPECT_EQ(names.Size(), 7u);  // the missing names were looked up with the inserting lookup
}

TEST(DisplayPlacement, CentresOnTheScreenWithTruncatingDivisions)
{
    EXPECT_EQ(translate::target::CentredStart(1024, 600), 212);
    EXPECT_EQ(translate::target::CentredStart(1280, 600), 340);
    EXPECT_EQ(translate::target::CentredStart(1024, 400), 312);
    EXPECT_EQ(translate::target::CentredStart(1023, 401), 311);
}

TEST(TabCapableHost, OnlyVersionSevenAndLater)
{
    FixedFileInfo info{};
    info.dwFileVersionMS = 0x00060000;
    EXPECT_FALSE(translate::target::IsTabCapableVersion(info));
    info.dwFileVersionMS = 0x0006FFFF;
    EXPECT_FALSE(translate::target::IsTabCapableVersion(info));
    info.dwFileVersionMS = 0x00070000;
    EXPECT_TRUE(translate::target::IsTabCapableVersion(info));
    EXPECT_FALSE(translate::target::IsTabCapableHost());  // the test program is not the browser
}

}  // namespace
