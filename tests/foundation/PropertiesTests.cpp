#include <string>

#include <gtest/gtest.h>

#include "foundation/config/Properties.h"
#include "tests/support/TestSupport.h"

namespace {

struct LineCase {
    const char* text;
    const char16_t* key;
    const char16_t* expected;  // nullptr: the key must be absent
};

class PropertiesLineRules : public ::testing::TestWithParam<LineCase> {};

TEST_P(PropertiesLineRules, ParsesLineAsTheReaderDefines)
{
    Properties properties;
    properties.LoadText(GetParam().text);
    const std::u16string key = GetParam().key;
    if (GetParam().expected) {
        EXPECT_EQ(properties.GetString(key), GetParam().expected);
        EXPECT_EQ(properties.Size(), 1u);
    } else {
        EXPECT_EQ(properties.Size(), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(Lines,
                         PropertiesLineRules,
                         ::testing::Values(LineCase{" \t key one \t=\t value two \t", u"key one", u"value two"},
                                           LineCase{"empty=", u"empty", u""},
                                           LineCase{"  =value", u"", nullptr},
                                           LineCase{"url=http://host/q?a=1&b=2", u"url", u"http://host/q?a=1&b=2"},
                                           LineCase{"   # comment=with equals", u"# comment", nullptr},
                                           LineCase{"!bang=yes", u"!bang", u"yes"},
                                           LineCase{"key:value", u"key", nullptr},
                                           LineCase{"key=value # not a comment", u"key", u"value # not a comment"},
                                           LineCase{"path=C:\\Program Files\\Vocabra\\", u"path",
                                                    u"C:\\Program Files\\Vocabra\\"},
                                           LineCase{"escape=\\u0041\\n", u"escape", u"\\u0041\\n"},
                                           LineCase{"\xD0\xBA\xD0\xBB\xD1\x8E\xD1\x87=\xD0\xB7\xD0\xBD\xD0\xB0\xD1\x87",
                                                    u"\u043A\u043B\u044E\u0447", u"\u0437\u043D\u0430\u0447"},
                                           LineCase{"nbsp\xC2\xA0=\xC2\xA0value\xE3\x80\x80", u"nbsp", u"value"},
                                           LineCase{"bad\xFF=x", u"bad\uFFFD", u"x"}));

TEST(Properties, FileStructureRules)
{
    Properties properties;
    properties.LoadText("a=1\r\nb=2\r\n\r\n\nA=upper\na=again\nlast=no newline");
    EXPECT_EQ(properties.GetString(u"a"), u"again");
    EXPECT_EQ(properties.GetString(u"A"), u"upper");
    EXPECT_EQ(properties.GetString(u"b"), u"2");
    EXPECT_EQ(properties.GetString(u"last"), u"no newline");
    EXPECT_EQ(properties.Size(), 4u);

    // A backslash at the end does not continue the line.
    properties.LoadText("folder=C:\\\nnext=1");
    EXPECT_EQ(properties.GetString(u"folder"), u"C:\\");
    EXPECT_EQ(properties.GetString(u"next"), u"1");

    // CR alone is not a line end: the whole text is one line.
    properties.LoadText("a=1\rb=2");
    EXPECT_EQ(properties.GetString(u"a"), u"1\rb=2");
    EXPECT_EQ(properties.Size(), 1u);
}

TEST(Properties, ByteOrderMarkIsNotPartOfTheFirstKey)
{
    Properties properties;
    properties.LoadText(
        "\xEF\xBB\xBF"
        "first=1\nsecond=2");
    EXPECT_EQ(properties.GetString(u"first"), u"1");
    EXPECT_EQ(properties.GetString(u"second"), u"2");
}

TEST(Properties, LoadReadsFilesAndReplacesTheTable)
{
    testsupport::TempFolder folder;
    testsupport::WriteFileBytes(folder.Path() / "one.properties", "\xEF\xBB\xBFkey=one\r\nonly.one=x\r\n");
    testsupport::WriteFileBytes(folder.Path() / "two.properties", "key=two");
    testsupport::WriteFileBytes(folder.Path() / "empty.properties", "");

    Properties properties(folder.File("one.properties"));
    EXPECT_EQ(properties.GetString(u"key"), u"one");

    EXPECT_TRUE(properties.Load(folder.File("two.properties")));
    EXPECT_EQ(properties.GetString(u"key"), u"two");
    EXPECT_EQ(properties.GetString(u"only.one"), u"");
    EXPECT_EQ(properties.Size(), 1u);

    EXPECT_TRUE(properties.Load(folder.File("empty.properties")));
    EXPECT_EQ(properties.Size(), 0u);

    properties.LoadText("stale=1");
    EXPECT_FALSE(properties.Load(folder.File("missing.properties")));
    EXPECT_EQ(properties.Size(), 0u);
    EXPECT_EQ(properties.GetString(u"stale"), u"");
    EXPECT_EQ(properties.GetInt(u"stale"), 0);
}

TEST(Properties, AtInsertsMissingKeysAndGetStringDoesNot)
{
    Properties properties;
    properties.LoadText("present=value");
    EXPECT_EQ(properties.GetString(u"missing"), u"");
    EXPECT_EQ(properties.Size(), 1u);
    EXPECT_EQ(properties.At(u"missing"), u"");
    EXPECT_EQ(properties.Size(), 2u);
    properties.At(u"present") = u"changed";
    EXPECT_EQ(properties.GetString(u"present"), u"changed");
}

TEST(Properties, GetIntReadsLeadingDigitsAndClamps)
{
    const struct {
        const char16_t* text;
        std::int32_t expected;
    } cases[] = {
        {u"42", 42},
        {u"  \t17", 17},
        {u"12abc", 12},
        {u"abc", 0},
        {u"", 0},
        {u"-35", -35},
        {u"+8", 8},
        {u"- 3", 0},
        {u"2147483647", 2147483647},
        {u"2147483648", 2147483647},
        {u"99999999999999999999", 2147483647},
        {u"-2147483648", -2147483647 - 1},
        {u"-99999999999", -2147483647 - 1},
        {u"007", 7},
    };
    for (const auto& testCase : cases)
        EXPECT_EQ(ParseInt32(testCase.text), testCase.expected) << "case " << (&testCase - cases);

    Properties properties;
    properties.LoadText("count=6 directions");
    EXPECT_EQ(properties.GetInt(u"count"), 6);
    EXPECT_EQ(properties.GetInt(u"absent"), 0);
}

}  // namespace
