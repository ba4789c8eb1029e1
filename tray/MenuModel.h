#pragma once
// What the tray menu shows between its separators, as data: the Windows side turns it into menu
// items; tests read it as it is.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "translate/manager/SupportedDirections.h"

namespace tray {

// The command ids of the dictionary items: a range for the services, the next for the directions.
// Items past the end of their range are left out of the menu, so that no id reaches the other
// range or the program's own commands.
constexpr std::uint32_t kServiceCommandBase = 8600;
constexpr std::uint32_t kMaxServiceCommands = 100;
constexpr std::uint32_t kDirectionCommandBase = kServiceCommandBase + kMaxServiceCommands;
constexpr std::uint32_t kMaxDirectionCommands = 200;

struct MenuItem {
    enum class Kind { Command, Check, Separator, Popup };
    Kind kind = Kind::Command;
    std::uint32_t command = 0;
    std::u16string text;
    bool checked = false;         // of a check item
    std::vector<MenuItem> items;  // of a popup
    bool enabled = true;          // shown greyed when false
};

using DirectionNamer = std::function<std::u16string(const translate::Direction&)>;

// Every direction grouped by source language: a group of one is a single item named after the
// whole direction, a larger group a sub-menu named after the source with its targets inside.
// Groups sorted by caption, items by name (code unit order). Only the first kMaxDirectionCommands
// directions have items.
MenuItem BuildDirectionsPopup(const translate::DirectionList& directions,
                              std::uint32_t directionBase,
                              const std::u16string& caption,
                              const DirectionNamer& name);

// The favourites, "Other" with every direction, a separator and "Service" with the services in
// priority order; the first kMaxServiceCommands services, and the favourites whose directions
// have items.
std::vector<MenuItem> BuildDictionaryMenu(const translate::DirectionList& favourites,
                                          const translate::DirectionList& directions,
                                          const std::vector<std::u16string>& serviceNames,
                                          const std::u16string& otherCaption,
                                          const std::u16string& serviceCaption,
                                          const DirectionNamer& name);

}  // namespace tray
