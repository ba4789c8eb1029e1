#include <gtest/gtest.h>

#include "translate/manager/SupportedDirections.h"

namespace {
using translate::DirectionList;

TEST(SplitList, TrimsDropsEmptyItemsKeepsOrderAndDuplicates)
{
    using List = std::vector<std::u16string>;
    EXPECT_EQ(translate::SplitList(u" a , b ,, c ,"), (List{u"a", u"b", u"c"}));
    EXPECT_EQ(translate::SplitList(u" , ,\t,\r\n"), List{});
    EXPECT_EQ(translate::SplitList(u""), List{});
    EXPECT_EQ(translate::SplitList(u",x,x,"), (List{u"x", u"x"}));
    EXPECT_EQ(translate::SplitList(u"en ru,\u00A0de-ru\u3000"), (List{u"en ru", u"de-ru"}));
}

struct Tag {};

TEST(SupportedDirections, FindsExactlyAndMergesNewOnesAtTheEnd)
{
    translate::TSupportedDirections<Tag> directions;
    directions.m_directions = {u"ru-en", u"de-ru"};
    EXPECT_EQ(directions.FindDirection(u"de-ru"), 1);
    EXPECT_EQ(directions.FindDirection(u"DE-RU"), -1);
    directions.MergeDirections({u"en-ru", u"ru-en", u"en-ru"});
    EXPECT_EQ(directions.m_directions, (DirectionList{u"ru-en", u"de-ru", u"en-ru"}));
}

TEST(SupportedDirections, SortsByCodeUnit)
{
    DirectionList directions = {u"ru-en", u"en-ru", u"ru-de", u"de-ru", u"En-ru", u"en", u"\u0436-x"};
    translate::SortDirections(directions);
    EXPECT_EQ(directions, (DirectionList{u"En-ru", u"de-ru", u"en", u"en-ru", u"ru-de", u"ru-en", u"\u0436-x"}));
}

}  // namespace
