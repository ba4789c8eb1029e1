#pragma once
// What the user's choices in the main dialog and the tray menu do to the settings, and the texts
// and menu items made from them: the same on both desktops. Each may throw TranslateException
// when the manager's services cannot serve.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "foundation/config/Settings.h"
#include "translate/manager/TranslateManager.h"
#include "tray/ChoiceResult.h"
#include "tray/MenuModel.h"

namespace tray {

// The direction at `index` of the manager's list becomes current and the most recent favourite.
// Refused, and nothing written, when the index is past the list or names an empty direction.
ChoiceResult ChooseDirection(Settings& settings, translate::manager::TranslateManager& manager, std::size_t index);

// The service at `index` of the priority order goes to the front of the stored priority; an index
// past the services stores the priority unchanged.
ChoiceResult ChooseService(Win32::API::RegKey& key, translate::manager::TranslateManager& manager, std::size_t index);

// Switches "useCtrlInsIns" or "useCtrlCC": 0 when it was on, 1 when it was off.
ChoiceResult ToggleHotKey(Win32::API::RegKey& key, const char16_t* name);

// The pattern's "%s" places filled in order with the two texts; any other text is kept.
std::u16string FillPlaces(const std::u16string& pattern, const std::u16string& first, const std::u16string& second);

// The dictionary items of the tray menu: favourites, "Other" and "Service", with the command of the
// current direction's first item (none when the direction has no item). "Service" ends with the
// current service's "open in my browser" check item (ID_OPEN_IN_BROWSER, `browserText`) when a
// service supports the direction.
struct DictionaryMenu {
    std::vector<MenuItem> items;
    std::optional<std::uint32_t> checkedCommand;
};
struct DictionaryMenuTexts {
    std::u16string other;
    std::u16string service;
    std::u16string browser;
};
DictionaryMenu MakeDictionaryMenu(translate::manager::TranslateManager& manager,
                                  const Win32::API::RegKey& key,
                                  const translate::Direction& current,
                                  const DictionaryMenuTexts& texts);

// The services that support the direction, in priority order, each with its index in that order
// (the index ChooseService takes).
struct ServiceChoice {
    std::size_t index;
    const translate::service::TranslateService* service;
};
std::vector<ServiceChoice> ServicesFor(translate::manager::TranslateManager& manager,
                                       const translate::Direction& direction);

}  // namespace tray
