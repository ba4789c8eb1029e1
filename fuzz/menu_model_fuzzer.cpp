// The tray menu model. Whatever the directions, favourites and services: the menu has its fixed
// frame, every command id is unique and in the range its kind is dispatched from, every usable
// direction and every service is reachable, a favourite carries the id of its direction, groups
// hold one source language each, and the orders are the promised ones.

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "tray/MenuModel.h"

namespace {
using tray::MenuItem;

constexpr std::size_t kDirectionIds = tray::kMaxDirectionCommands;

constexpr const char16_t* kLanguages[] = {u"en", u"ru", u"de", u"fr", u"es", u"", u"en-gb"};

translate::Direction ConsumeDirection(FuzzedDataProvider& provider)
{
    if (provider.ConsumeBool())
        return fuzzsupport::ConsumeText16(provider, 12);
    const auto pick = [&] {
        return kLanguages[provider.ConsumeIntegralInRange<std::size_t>(0, std::size(kLanguages) - 1)];
    };
    return std::u16string(pick()) + u"-" + pick();
}

// Names that are sometimes equal, so that ties in the sorts occur.
tray::DirectionNamer ConsumeNamer(FuzzedDataProvider& provider)
{
    switch (provider.ConsumeIntegralInRange(0, 2)) {
        case 0:
            return [](const translate::Direction& direction) { return u"<" + direction + u">"; };
        case 1:
            return [](const translate::Direction& direction) { return std::u16string(direction.size() % 3, u'x'); };
        default:
            return [](const translate::Direction&) { return std::u16string(); };
    }
}

std::u16string SourceOf(const translate::Direction& direction)
{
    return direction.substr(0, direction.find(u'-') + 1);
}

// Checks the "Other" popup; collects its command ids.
void CheckDirectionsPopup(const MenuItem& popup,
                          const translate::DirectionList& directions,
                          const tray::DirectionNamer& name,
                          std::vector<std::uint32_t>& commands)
{
    FUZZ_CHECK(popup.kind == MenuItem::Kind::Popup);
    // The direction of a command item, whose id is collected.
    const auto directionOf = [&](const MenuItem& item) -> const translate::Direction& {
        FUZZ_CHECK(item.kind == MenuItem::Kind::Command && item.items.empty());
        FUZZ_CHECK(item.command >= tray::kDirectionCommandBase &&
                   item.command - tray::kDirectionCommandBase <
                       std::min<std::size_t>(directions.size(), kDirectionIds));
        commands.push_back(item.command);
        return directions[item.command - tray::kDirectionCommandBase];
    };
    const auto sourceOf = [&](const MenuItem& item) {
        return SourceOf(directions[item.command - tray::kDirectionCommandBase]);
    };
    std::set<std::u16string> sources;
    const MenuItem* previous = nullptr;
    for (const MenuItem& entry : popup.items) {
        std::u16string caption;
        if (entry.kind == MenuItem::Kind::Popup) {
            // A group of two or more targets of one source, sorted by name.
            FUZZ_CHECK(entry.items.size() >= 2);
            std::u16string source;
            for (std::size_t i = 0; i < entry.items.size(); ++i) {
                const translate::Direction& direction = directionOf(entry.items[i]);
                if (i == 0) {
                    source = SourceOf(direction);
                    FUZZ_CHECK(entry.text == name(source) && sources.insert(source).second);
                }
                FUZZ_CHECK(SourceOf(direction) == source);
                FUZZ_CHECK(entry.items[i].text == name(direction.substr(direction.find(u'-'))));
                FUZZ_CHECK(i == 0 || entry.items[i - 1].text <= entry.items[i].text);
            }
            caption = entry.text;
        } else {
            // A group of one, named after its whole direction.
            const translate::Direction& direction = directionOf(entry);
            FUZZ_CHECK(entry.text == name(direction) && sources.insert(SourceOf(direction)).second);
            caption = name(SourceOf(direction));
        }
        if (previous) {
            const std::u16string previousCaption =
                previous->kind == MenuItem::Kind::Popup ? previous->text : name(sourceOf(*previous));
            FUZZ_CHECK(previousCaption <= caption);
        }
        previous = &entry;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider provider(data, size);
    translate::DirectionList directions(provider.ConsumeIntegralInRange<std::size_t>(0, 400));
    for (translate::Direction& direction : directions)
        direction = ConsumeDirection(provider);
    std::vector<std::u16string> services(provider.ConsumeIntegralInRange<std::size_t>(0, 160));
    for (std::size_t i = 0; i < services.size(); ++i)
        services[i] = provider.ConsumeBool() ? fuzzsupport::ConsumeText16(provider, 8) : u"Service";
    // Favourites are supported directions (the manager filters them so).
    translate::DirectionList favourites;
    if (!directions.empty())
        for (int i = provider.ConsumeIntegralInRange(0, 8); i > 0; --i)
            favourites.push_back(directions[provider.ConsumeIntegralInRange<std::size_t>(0, directions.size() - 1)]);
    const tray::DirectionNamer name = ConsumeNamer(provider);

    const std::vector<MenuItem> menu =
        tray::BuildDictionaryMenu(favourites, directions, services, u"Other", u"Service", name);
    // A favourite has an item when its direction has a command.
    translate::DirectionList shown;
    for (const translate::Direction& favourite : favourites)
        if (static_cast<std::size_t>(std::find(directions.begin(), directions.end(), favourite) - directions.begin()) <
            kDirectionIds)
            shown.push_back(favourite);
    FUZZ_CHECK(menu.size() == shown.size() + 3);
    const MenuItem& other = menu[shown.size()];
    const MenuItem& separator = menu[shown.size() + 1];
    const MenuItem& service = menu[shown.size() + 2];
    FUZZ_CHECK(other.text == u"Other" && separator.kind == MenuItem::Kind::Separator);
    FUZZ_CHECK(service.kind == MenuItem::Kind::Popup && service.text == u"Service");

    std::vector<std::uint32_t> commands;
    CheckDirectionsPopup(other, directions, name, commands);
    // Every direction with a dash that has a command is in "Other", once.
    std::size_t usable = 0;
    for (std::size_t i = 0; i < std::min(directions.size(), kDirectionIds); ++i)
        usable += directions[i].find(u'-') != translate::Direction::npos;
    FUZZ_CHECK(commands.size() == usable);

    // Favourites first, each with the command of its first place in the directions.
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const auto place = std::find(directions.begin(), directions.end(), shown[i]) - directions.begin();
        FUZZ_CHECK(menu[i].kind == MenuItem::Kind::Command && menu[i].text == name(shown[i]));
        FUZZ_CHECK(menu[i].command == tray::kDirectionCommandBase + static_cast<std::uint32_t>(place));
        FUZZ_CHECK(shown[i].find(u'-') == translate::Direction::npos ||
                   std::count(commands.begin(), commands.end(), menu[i].command) == 1);
    }

    // The first services in their order, each with its own command in the services' range.
    FUZZ_CHECK(service.items.size() == std::min<std::size_t>(services.size(), tray::kMaxServiceCommands));
    for (std::size_t i = 0; i < service.items.size(); ++i) {
        FUZZ_CHECK(service.items[i].kind == MenuItem::Kind::Command && service.items[i].text == services[i]);
        FUZZ_CHECK(service.items[i].command == tray::kServiceCommandBase + i);
        FUZZ_CHECK(service.items[i].command < tray::kServiceCommandBase + tray::kMaxServiceCommands);
        commands.push_back(service.items[i].command);
    }

    // No two commands of the menu share an id, and none leaves the dictionary items' ranges (the
    // program's own commands lie beyond them).
    std::sort(commands.begin(), commands.end());
    FUZZ_CHECK(std::adjacent_find(commands.begin(), commands.end()) == commands.end());
    FUZZ_CHECK(commands.empty() || (commands.front() >= tray::kServiceCommandBase &&
                                    commands.back() < tray::kDirectionCommandBase + tray::kMaxDirectionCommands));
    return 0;
}
