#include "tray/FavouriteLists.h"

namespace tray {
namespace {
// The item, a comma and the rest, with every later occurrence of the item removed together with
// the comma before it. Only whole items go: "Multi" leaves "Multilex" alone.
std::u16string PutFirst(const std::u16string& item, const std::u16string& rest)
{
    std::u16string text = item + u"," + rest;
    const std::u16string repeated = u"," + item;
    std::size_t at = text.find(repeated, item.size());
    while (at != std::u16string::npos) {
        const std::size_t end = at + repeated.size();
        if (end == text.size() || text[end] == u',') {
            text.erase(at, repeated.size());
            at = text.find(repeated, at);
        } else {
            at = text.find(repeated, end);
        }
    }
    return text;
}
}  // namespace

std::u16string PushFavouriteDirection(const translate::Direction& direction,
                                      const translate::DirectionList& favourites,
                                      std::int32_t count)
{
    std::u16string joined;
    for (const auto& favourite : favourites) {
        if (favourite.empty())
            continue;
        if (!joined.empty())
            joined.push_back(u',');
        joined += favourite;
    }
    if (joined.empty())
        return direction;
    std::u16string text = PutFirst(direction, joined);
    // Six characters per five-letter code and its comma; a count of 0 or less keeps nothing.
    const std::int64_t limit = static_cast<std::int64_t>(count) * 6;
    if (static_cast<std::int64_t>(text.size()) >= limit)
        text.resize(limit > 0 ? static_cast<std::size_t>(limit) : 0);
    return text;
}

std::u16string PushServicePriority(const std::u16string& id, const std::u16string& priority)
{
    return priority.empty() ? id : PutFirst(id, priority);
}

}  // namespace tray
