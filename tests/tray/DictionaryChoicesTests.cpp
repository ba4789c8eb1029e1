// The choices of the main dialog and the tray menu, as both desktops make them. The translation
// manager is one per process: this is the only test of the program that creates it.
#include <gtest/gtest.h>

#include <utility>

#include "resources/Vocabra/resource.h"
#include "tests/translate/EngineFixture.h"
#include "translate/manager/DictionaryManager.h"
#include "tray/DictionaryChoices.h"
#include "tray/OpenInBrowser.h"

namespace {
using translate::manager::DictionaryManager;

std::u16string Stored(const Settings& settings, const char16_t* name)
{
    std::u16string value;
    return settings.key.GetString(name, value) ? value : u"(absent)";
}

std::uint32_t StoredNumber(const Settings& settings, const char16_t* name)
{
    std::uint32_t value = 99;
    settings.key.GetDWORD(name, value);
    return value;
}

class DictionaryChoices : public testsupport::EngineTest {};

TEST_F(DictionaryChoices, WriteTheSameValuesOnEveryDesktop)
{
    WriteService("a.properties", "Alpha", "en-ru,de-ru", "1,2");
    WriteService("b.properties", "Beta", "en-ru,fr-ru", "1,2");
    WriteSimpleServices({"A", "B"}, "favour.dictionary.count=2\n");
    WriteLocaleFile("translate_direction.properties", "default.directions=en-ru,fr-ru\n");
    // The table is the process's: another test may have read it first.
    TranslateDirectionTable().Load(ConfigFilePath(IDS_TRANSLATE_DIRECTION_PATH));
    DictionaryManager& manager = DictionaryManager::GetInstance();
    ASSERT_EQ(manager.m_directions, (translate::DirectionList{u"de-ru", u"en-ru", u"fr-ru"}));
    Settings settings;

    // A direction: current, and first of the favourites cut to the count's six characters each.
    EXPECT_EQ(tray::ChooseDirection(settings, manager, 0), tray::ChoiceResult::Stored);
    EXPECT_EQ(Stored(settings, u"dictionaryDirection"), u"de-ru");
    EXPECT_EQ(Stored(settings, u"dictionaryDefaultDirections"), u"de-ru,en-ru,");
    EXPECT_EQ(tray::ChooseDirection(settings, manager, 3), tray::ChoiceResult::Refused);
    EXPECT_EQ(Stored(settings, u"dictionaryDirection"), u"de-ru");

    // A service, by its place in the priority order; a place past the end stores the order as it is.
    EXPECT_EQ(tray::ChooseService(settings.key, manager, 1), tray::ChoiceResult::Stored);
    EXPECT_EQ(Stored(settings, u"dictionaryPriority"), u"B,A");
    tray::ChooseService(settings.key, manager, 7);
    EXPECT_EQ(Stored(settings, u"dictionaryPriority"), u"B,A");

    // Only the services of the direction are offered, with their place in the priority order.
    const auto choices = tray::ServicesFor(manager, u"de-ru");
    ASSERT_EQ(choices.size(), 1u);
    EXPECT_EQ(choices[0].service->m_name, u"Alpha");
    EXPECT_EQ(choices[0].index, 1u);

    // The tray menu marks the current direction's item by its command.
    const tray::DictionaryMenuTexts texts{u"Other", u"Service", u"Browser"};
    const auto menu = tray::MakeDictionaryMenu(manager, settings.key, u"fr-ru", texts);
    ASSERT_TRUE(menu.checkedCommand.has_value());
    EXPECT_EQ(*menu.checkedCommand, tray::kDirectionCommandBase + 2);
    EXPECT_FALSE(tray::MakeDictionaryMenu(manager, settings.key, u"xx-yy", texts).checkedCommand.has_value());

    // "Service" ends with the current service's "open in my browser" check item: B's for fr-ru,
    // A's for de-ru; a direction without a service has none.
    tray::SetOpensInBrowser(settings.key, u"B", true);
    for (const auto& [direction, checked] : {std::pair{u"fr-ru", true}, std::pair{u"de-ru", false}}) {
        SCOPED_TRACE(checked ? "fr-ru" : "de-ru");
        const tray::MenuItem services = tray::MakeDictionaryMenu(manager, settings.key, direction, texts).items.back();
        ASSERT_EQ(services.items.size(), 4u);  // Beta, Alpha, a separator and the check item
        EXPECT_EQ(services.items[2].kind, tray::MenuItem::Kind::Separator);
        const tray::MenuItem& check = services.items[3];
        EXPECT_EQ(check.kind, tray::MenuItem::Kind::Check);
        EXPECT_EQ(check.text, u"Browser");
        EXPECT_EQ(check.checked, checked);
        // Outside the services' and the directions' command ranges.
        EXPECT_TRUE(check.command < tray::kServiceCommandBase ||
                    check.command >= tray::kDirectionCommandBase + tray::kMaxDirectionCommands);
        EXPECT_EQ(check.command, static_cast<std::uint32_t>(ID_OPEN_IN_BROWSER));
    }
    EXPECT_EQ(tray::MakeDictionaryMenu(manager, settings.key, u"xx-yy", texts).items.back().items.size(), 2u);
    settings.key.DeleteValue(u"B.openInBrowser");
}

TEST_F(DictionaryChoices, HotKeySwitchesAnyStoredValue)
{
    Settings settings;
    settings.key.DeleteValue(u"useCtrlCC");
    EXPECT_EQ(tray::ToggleHotKey(settings.key, u"useCtrlCC"), tray::ChoiceResult::Stored);  // absent is on
    EXPECT_EQ(StoredNumber(settings, u"useCtrlCC"), 0u);
    tray::ToggleHotKey(settings.key, u"useCtrlCC");
    EXPECT_EQ(StoredNumber(settings, u"useCtrlCC"), 1u);
    settings.key.SetDWORD(u"useCtrlCC", 2);  // any other number is off
    tray::ToggleHotKey(settings.key, u"useCtrlCC");
    EXPECT_EQ(StoredNumber(settings, u"useCtrlCC"), 1u);
}

TEST(FillPlaces, FillsTwoPlacesInOrderAndKeepsTheRest)
{
    EXPECT_EQ(tray::FillPlaces(u"Dictionary: %s (%s)", u"en", u"Lingvo"), u"Dictionary: en (Lingvo)");
    EXPECT_EQ(tray::FillPlaces(u"%s %s %s %d%", u"1", u"2"), u"1 2 %s %d%");
    EXPECT_EQ(tray::FillPlaces(u"no places", u"1", u"2"), u"no places");
}
}  // namespace
