#include "tray/DictionaryChoices.h"

#include "resources/Vocabra/resource.h"
#include "translate/manager/DirectionName.h"
#include "tray/FavouriteLists.h"
#include "tray/OpenInBrowser.h"
#include "tray/UserSettings.h"

namespace tray {
using translate::manager::TranslateManager;

namespace {
ChoiceResult Written(bool stored)
{
    return stored ? ChoiceResult::Stored : ChoiceResult::NotStored;
}
}  // namespace

ChoiceResult ChooseDirection(Settings& settings, TranslateManager& manager, std::size_t index)
{
    if (index >= manager.m_directions.size() || manager.m_directions[index].empty())
        return ChoiceResult::Refused;
    const translate::Direction direction = manager.m_directions[index];
    const bool current = settings.key.SetString(u"dictionaryDirection", direction);
    const bool favourite = settings.key.SetString(
        u"dictionaryDefaultDirections",
        PushFavouriteDirection(direction, manager.GetDefaultDirections(), GetFavouriteCount(settings)));
    return Written(current && favourite);
}

ChoiceResult ChooseService(Win32::API::RegKey& key, TranslateManager& manager, std::size_t index)
{
    const std::u16string priority = manager.GetPriorityList();
    const auto services = manager.GetServicesByPriority();
    return Written(key.SetString(u"dictionaryPriority", index < services.size()
                                                            ? PushServicePriority(services[index]->m_id, priority)
                                                            : priority));
}

ChoiceResult ToggleHotKey(Win32::API::RegKey& key, const char16_t* name)
{
    return Written(key.SetDWORD(name, IsHotKeyOn(key, name) ? 0 : 1));
}

std::u16string FillPlaces(const std::u16string& pattern, const std::u16string& first, const std::u16string& second)
{
    std::u16string text;
    int filled = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == u'%' && i + 1 < pattern.size() && pattern[i + 1] == u's' && filled < 2) {
            text += filled++ == 0 ? first : second;
            ++i;
        } else {
            text.push_back(pattern[i]);
        }
    }
    return text;
}

DictionaryMenu MakeDictionaryMenu(TranslateManager& manager,
                                  const Win32::API::RegKey& key,
                                  const translate::Direction& current,
                                  const DictionaryMenuTexts& texts)
{
    std::vector<std::u16string> serviceNames;
    for (const auto* service : manager.GetServicesByPriority())
        serviceNames.push_back(service->m_name);
    const auto name = [](const translate::Direction& direction) { return translate::GetDirectionName(direction); };

    DictionaryMenu menu;
    menu.items = BuildDictionaryMenu(manager.GetDefaultDirections(), manager.m_directions, serviceNames, texts.other,
                                     texts.service, name);
    if (const std::optional<bool> inBrowser = CurrentServiceOpensInBrowser(key, manager, current)) {
        MenuItem& services = menu.items.back();
        services.items.push_back(MenuItem{MenuItem::Kind::Separator, 0, {}, false, {}});
        services.items.push_back(MenuItem{MenuItem::Kind::Check, ID_OPEN_IN_BROWSER, texts.browser, *inBrowser, {}});
    }
    // A direction past the menu's range has no item; its id could be another command's.
    const int index = manager.FindDirection(current);
    if (index >= 0 && static_cast<std::uint32_t>(index) < kMaxDirectionCommands)
        menu.checkedCommand = kDirectionCommandBase + static_cast<std::uint32_t>(index);
    return menu;
}

std::vector<ServiceChoice> ServicesFor(TranslateManager& manager, const translate::Direction& direction)
{
    std::vector<ServiceChoice> choices;
    const auto services = manager.GetServicesByPriority();
    for (std::size_t i = 0; i < services.size(); ++i) {
        if (services[i]->FindDirection(direction) != -1)
            choices.push_back({i, services[i]});
    }
    return choices;
}

}  // namespace tray
