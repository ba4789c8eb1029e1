#include "tray/RecentMenu.h"

#include <algorithm>

namespace tray {
namespace {
// Code units of a word shown in the menu before it is cut; a menu as wide as the screen helps no one.
constexpr std::size_t kMaxShownUnits = 40;

bool IsHighSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

MenuItem Item(MenuItem::Kind kind, std::uint32_t command, std::u16string text)
{
    MenuItem item;
    item.kind = kind;
    item.command = command;
    item.text = std::move(text);
    return item;
}
}  // namespace

std::u16string RecentItemText(const HistoryEntry& entry)
{
    std::u16string word = entry.word;
    std::replace_if(
        word.begin(), word.end(), [](char16_t c) { return c == u'\t' || c == u'\n' || c == u'\r'; }, u' ');
    if (word.size() > kMaxShownUnits) {
        std::size_t cut = kMaxShownUnits;
        if (IsHighSurrogate(word[cut - 1]))
            --cut;  // never half a character
        word = word.substr(0, cut) + u"…";
    }
    std::u16string direction = entry.direction;
    const std::size_t dash = direction.find(u'-');
    if (dash != std::u16string::npos)
        direction.replace(dash, 1, u" → ");
    return word + u" (" + direction + u")";
}

MenuItem BuildRecentPopup(const std::vector<HistoryEntry>& entries, bool keeping, const RecentMenuTexts& texts)
{
    MenuItem popup = Item(MenuItem::Kind::Popup, 0, texts.recent);
    const std::size_t shown = std::min<std::size_t>(entries.size(), kMaxRecentCommands);
    for (std::size_t i = 0; i < shown; ++i)
        popup.items.push_back(Item(MenuItem::Kind::Command, kRecentCommandBase + static_cast<std::uint32_t>(i),
                                   RecentItemText(entries[i])));
    if (shown > 0)
        popup.items.push_back(Item(MenuItem::Kind::Separator, 0, {}));
    MenuItem keep = Item(MenuItem::Kind::Check, kKeepHistoryCommand, texts.keepHistory);
    keep.checked = keeping;
    popup.items.push_back(std::move(keep));
    for (const auto& [command, text] :
         {std::pair{kExportHistoryCommand, texts.exportHistory}, std::pair{kClearHistoryCommand, texts.clearHistory}}) {
        MenuItem item = Item(MenuItem::Kind::Command, command, text);
        item.enabled = !entries.empty();
        popup.items.push_back(std::move(item));
    }
    return popup;
}

}  // namespace tray
