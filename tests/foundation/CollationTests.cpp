#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "foundation/text/Collation.h"

namespace {
#ifdef _WIN32
constexpr char kRussian[] = "ru-RU";
constexpr char kGerman[] = "de-DE";
constexpr char kUnknown[] = "xx-unknown-locale";
#else
constexpr char kRussian[] = "ru_RU.UTF-8";
constexpr char kGerman[] = "de_DE.UTF-8";
constexpr char kUnknown[] = "xx_YY.UTF-8";
#endif

std::vector<std::u16string> Sorted(std::vector<std::u16string> texts, const text::Collation& collation)
{
    std::sort(texts.begin(), texts.end(),
              [&](const std::u16string& a, const std::u16string& b) { return collation.Less(a, b); });
    return texts;
}

TEST(Collation, OrdersByTheLanguageNotByCodeUnit)
{
    const text::Collation russian(kRussian);
    ASSERT_TRUE(russian.IsLocaleAvailable()) << kRussian << " is missing: tools/install-deps makes it";
    EXPECT_EQ(Sorted({u"Жук", u"Ёж", u"Дом", u"ёлка", u"Яблоко", u"арбуз"}, russian),
              (std::vector<std::u16string>{u"арбуз", u"Дом", u"Ёж", u"ёлка", u"Жук", u"Яблоко"}));

    const text::Collation german(kGerman);
    ASSERT_TRUE(german.IsLocaleAvailable()) << kGerman << " is missing: tools/install-deps makes it";
    EXPECT_EQ(Sorted({u"Zulu", u"Österreich", u"Ozean", u"äußerst", u"Apfel"}, german),
              (std::vector<std::u16string>{u"Apfel", u"äußerst", u"Österreich", u"Ozean", u"Zulu"}));
}

TEST(Collation, IsAStrictOrderEvenForTextsTheLanguageCallsEqual)
{
    const text::Collation russian(kRussian);
    for (const auto& [a, b] : {std::pair<std::u16string, std::u16string>{u"Дом", u"Дом"}, {u"", u""}}) {
        EXPECT_FALSE(russian.Less(a, b));
        EXPECT_FALSE(russian.Less(b, a));
    }
    EXPECT_TRUE(russian.Less(u"", u"а"));
    EXPECT_FALSE(russian.Less(u"а", u""));
    // Texts with a zero inside, or an unpaired surrogate, still have a place.
    const std::u16string zero(u"a\0b", 3);
    EXPECT_NE(russian.Less(zero, u"a"), russian.Less(u"a", zero));
    const std::u16string lone(1, char16_t{0xD800});
    EXPECT_NE(russian.Less(lone, u"a"), russian.Less(u"a", lone));
}

TEST(Collation, AnUnknownLocaleOrdersByCodePoint)
{
    const text::Collation unknown(kUnknown);
    EXPECT_FALSE(unknown.IsLocaleAvailable());
    EXPECT_EQ(Sorted({u"b", u"Ё", u"a", u"B"}, unknown), (std::vector<std::u16string>{u"B", u"a", u"b", u"Ё"}));
    EXPECT_TRUE(text::Collation().IsLocaleAvailable());
}
}  // namespace
