#include <gtest/gtest.h>

#include "tray/MenuModel.h"

namespace {
using tray::MenuItem;

std::u16string Name(const translate::Direction& direction)
{
    if (direction == u"en-")
        return u"English";
    if (direction == u"de-")
        return u"German";
    if (direction == u"ru-")
        return u"Russian";
    if (direction == u"-ru")
        return u"to Russian";
    if (direction == u"-en")
        return u"to English";
    if (direction == u"-de")
        return u"to German";
    if (direction == u"-fr")
        return u"to French";
    return u"<" + direction + u">";
}

TEST(DirectionsPopup, GroupsBySourceAndSortsByName)
{
    // Indices: 0 de-ru, 1 en-ru, 2 en-de, 3 ru-en, 4 en-fr, 5 bad, 6 empty
    const translate::DirectionList directions = {u"de-ru", u"en-ru", u"en-de", u"ru-en", u"en-fr", u"bad", u""};
    const MenuItem popup = tray::BuildDirectionsPopup(directions, 8700, u"Other", Name);
    EXPECT_EQ(popup.kind, MenuItem::Kind::Popup);
    EXPECT_EQ(popup.text, u"Other");
    ASSERT_EQ(popup.items.size(), 3u);

    // "English" < "German" < "Russian"; English has three targets, the others one each.
    const MenuItem& english = popup.items[0];
    EXPECT_EQ(english.kind, MenuItem::Kind::Popup);
    EXPECT_EQ(english.text, u"English");
    ASSERT_EQ(english.items.size(), 3u);
    EXPECT_EQ(english.items[0].text, u"to French");
    EXPECT_EQ(english.items[0].command, 8704u);
    EXPECT_EQ(english.items[1].text, u"to German");
    EXPECT_EQ(english.items[1].command, 8702u);
    EXPECT_EQ(english.items[2].text, u"to Russian");
    EXPECT_EQ(english.items[2].command, 8701u);

    EXPECT_EQ(popup.items[1].kind, MenuItem::Kind::Command);
    EXPECT_EQ(popup.items[1].text, u"<de-ru>");  // a group of one is named after the whole direction
    EXPECT_EQ(popup.items[1].command, 8700u);
    EXPECT_EQ(popup.items[2].text, u"<ru-en>");
    EXPECT_EQ(popup.items[2].command, 8703u);
}

TEST(DictionaryMenu, FavouritesOtherSeparatorServices)
{
    const translate::DirectionList directions = {u"de-ru", u"en-ru", u"ru-en"};
    const auto items =
        tray::BuildDictionaryMenu({u"ru-en", u"en-ru"}, directions, {u"Lingvo", u"Google"}, u"Other", u"Service", Name);
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0].command, 8702u);
    EXPECT_EQ(items[0].text, u"<ru-en>");
    EXPECT_EQ(items[1].command, 8701u);
    EXPECT_EQ(items[2].text, u"Other");
    EXPECT_EQ(items[3].kind, MenuItem::Kind::Separator);
    EXPECT_EQ(items[4].text, u"Service");
    ASSERT_EQ(items[4].items.size(), 2u);
    EXPECT_EQ(items[4].items[1].command, 8601u);
    EXPECT_EQ(items[4].items[1].text, u"Google");

    const auto bare = tray::BuildDictionaryMenu({}, directions, {}, u"Other", u"Service", Name);
    EXPECT_EQ(bare.front().text, u"Other");  // no favourites: nothing before "Other"
}

// Ids are dispatched by range: a 101st service must not take the first direction's id, nor a
// 201st direction one past the directions' range.
TEST(DictionaryMenu, ItemsPastTheirRangeAreLeftOut)
{
    translate::DirectionList directions;
    for (int i = 0; i < 250; ++i)
        directions.push_back(u"s" + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)) + u"-t" +
                             std::u16string(1, static_cast<char16_t>(0x400 + i)));
    const std::vector<std::u16string> services(150, u"Service");
    const auto items =
        tray::BuildDictionaryMenu({directions[3], directions[220]}, directions, services, u"Other", u"Service", Name);

    ASSERT_EQ(items.size(), 4u);  // the favourite past the range has no item
    EXPECT_EQ(items[0].command, tray::kDirectionCommandBase + 3);
    std::vector<std::uint32_t> directionIds;
    for (const MenuItem& group : items[1].items) {
        if (group.kind == MenuItem::Kind::Command)
            directionIds.push_back(group.command);
        for (const MenuItem& item : group.items)
            directionIds.push_back(item.command);
    }
    ASSERT_EQ(directionIds.size(), tray::kMaxDirectionCommands);
    for (std::uint32_t id : directionIds) {
        EXPECT_GE(id, tray::kDirectionCommandBase);
        EXPECT_LT(id, tray::kDirectionCommandBase + tray::kMaxDirectionCommands);
    }
    const MenuItem& serviceMenu = items[3];
    ASSERT_EQ(serviceMenu.items.size(), tray::kMaxServiceCommands);
    EXPECT_EQ(serviceMenu.items.back().command, tray::kServiceCommandBase + tray::kMaxServiceCommands - 1);
    EXPECT_LT(serviceMenu.items.back().command, tray::kDirectionCommandBase);
}

}  // namespace
