#include "tray/MenuModel.h"

#include <algorithm>

namespace tray {
namespace {
MenuItem Command(std::uint32_t command, std::u16string text)
{
    MenuItem item;
    item.command = command;
    item.text = std::move(text);
    return item;
}

MenuItem Popup(std::u16string caption)
{
    MenuItem popup;
    popup.kind = MenuItem::Kind::Popup;
    popup.text = std::move(caption);
    return popup;
}

struct DirectionGroup {
    std::u16string key;  // "en-"
    std::u16string caption;
    std::vector<MenuItem> items;  // named after the target, "-ru"
};

bool ByText(const MenuItem& a, const MenuItem& b)
{
    return a.text < b.text;
}
}  // namespace

MenuItem BuildDirectionsPopup(const translate::DirectionList& directions,
                              std::uint32_t directionBase,
                              const std::u16string& caption,
                              const DirectionNamer& name)
{
    std::vector<DirectionGroup> groups;
    const std::size_t count = std::min<std::size_t>(directions.size(), kMaxDirectionCommands);
    for (std::size_t i = 0; i < count; ++i) {
        const translate::Direction& direction = directions[i];
        const std::size_t dash = direction.find(u'-');
        if (direction.empty() || dash == translate::Direction::npos)
            continue;
        const std::u16string key = direction.substr(0, dash + 1);
        auto group = std::find_if(groups.begin(), groups.end(), [&](const DirectionGroup& g) { return g.key == key; });
        if (group == groups.end())
            group = groups.insert(groups.end(), DirectionGroup{key, name(key), {}});
        group->items.push_back(Command(directionBase + static_cast<std::uint32_t>(i), name(direction.substr(dash))));
    }
    std::stable_sort(groups.begin(), groups.end(),
                     [](const DirectionGroup& a, const DirectionGroup& b) { return a.caption < b.caption; });

    MenuItem popup = Popup(caption);
    for (DirectionGroup& group : groups) {
        if (group.items.size() == 1) {
            const std::uint32_t command = group.items.front().command;
            popup.items.push_back(Command(command, name(directions[command - directionBase])));
            continue;
        }
        std::stable_sort(group.items.begin(), group.items.end(), ByText);
        MenuItem sub = Popup(group.caption);
        sub.items = std::move(group.items);
        popup.items.push_back(std::move(sub));
    }
    return popup;
}

std::vector<MenuItem> BuildDictionaryMenu(const translate::DirectionList& favourites,
                                          const translate::DirectionList& directions,
                                          const std::vector<std::u16string>& serviceNames,
                                          const std::u16string& otherCaption,
                                          const std::u16string& serviceCaption,
                                          const DirectionNamer& name)
{
    std::vector<MenuItem> items;
    const std::size_t commandCount = std::min<std::size_t>(directions.size(), kMaxDirectionCommands);
    for (const translate::Direction& favourite : favourites) {
        // Favourites are supported directions; those past the directions' range have no command.
        const auto index =
            static_cast<std::size_t>(std::find(directions.begin(), directions.end(), favourite) - directions.begin());
        if (index < commandCount)
            items.push_back(Command(kDirectionCommandBase + static_cast<std::uint32_t>(index), name(favourite)));
    }
    items.push_back(BuildDirectionsPopup(directions, kDirectionCommandBase, otherCaption, name));
    MenuItem separator;
    separator.kind = MenuItem::Kind::Separator;
    items.push_back(separator);
    MenuItem services = Popup(serviceCaption);
    const std::size_t serviceCount = std::min<std::size_t>(serviceNames.size(), kMaxServiceCommands);
    for (std::size_t i = 0; i < serviceCount; ++i)
        services.items.push_back(Command(kServiceCommandBase + static_cast<std::uint32_t>(i), serviceNames[i]));
    items.push_back(std::move(services));
    return items;
}

}  // namespace tray
