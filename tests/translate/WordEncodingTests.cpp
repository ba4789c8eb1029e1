#include <gtest/gtest.h>

#include "translate/service/WordEncoding.h"

namespace {
using translate::service::EncodeUtf16Percent;
using translate::service::EncodeUtf8Percent;

TEST(WordEncoding, BothEscapingsOnTypicalWords)
{
    const struct {
        std::u16string word;
        std::u16string utf8;
        std::u16string utf16;
    } cases[] = {
        {u"a b", u"a%20b", u"a%20b"},
        {u"na\u00EFve", u"na%c3%afve", u"na%EFve"},
        {u"\u0434\u0430", u"%d0%b4%d0%b0", u"%u0434%u0430"},
        {u"100%", u"100%25", u"100%25"},
        {u"%41", u"%2541", u"%2541"},
        {u"A-z_0.9~!'()*/:", u"A-z_0.9~!'()*/:", u"A-z_0.9~!'()*/:"},
        {u"a&b=c+d?#", u"a%26b%3dc%2bd%3f%23", u"a%26b%3Dc%2Bd%3F%23"},
        {u"\U0001F600", u"%f0%9f%98%80", u"%uD83D%uDE00"},
        {u"\x7F\t", u"%7f%09", u"%7F%09"},
        {u"", u"", u""},
    };
    for (const auto& testCase : cases) {
        EXPECT_EQ(EncodeUtf8Percent(testCase.word), testCase.utf8);
        EXPECT_EQ(EncodeUtf16Percent(testCase.word), testCase.utf16);
    }
    EXPECT_EQ(EncodeUtf8Percent(std::u16string(1, u'\xD800')), u"%ef%bf%bd");  // a lone surrogate
}

TEST(WordEncoding, LongWordsAreDroppedWholeByTheUtf8EscapingOnly)
{
    const std::u16string cyrillic(700, u'\u0434');
    EXPECT_EQ(EncodeUtf8Percent(cyrillic), u"");
    EXPECT_EQ(EncodeUtf16Percent(cyrillic).size(), 700u * 6);

    const std::u16string fits(2046, u'a');
    EXPECT_EQ(EncodeUtf8Percent(fits), fits);
    EXPECT_EQ(EncodeUtf8Percent(fits + u"a"), u"");
    EXPECT_EQ(EncodeUtf8Percent(std::u16string(2043, u'a') + u" "), std::u16string(2043, u'a') + u"%20");
    EXPECT_EQ(EncodeUtf8Percent(std::u16string(2044, u'a') + u" "), u"");
}

}  // namespace
