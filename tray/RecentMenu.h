#pragma once
// The tray menu's "Recent" popup: the last words looked up, each translated again when chosen,
// then the history's own commands.

#include <cstdint>
#include <string>
#include <vector>

#include "tray/LookupHistory.h"
#include "tray/MenuModel.h"

namespace tray {

// After the directions' range: the words, then the history's commands.
constexpr std::uint32_t kRecentCommandBase = kDirectionCommandBase + kMaxDirectionCommands;
constexpr std::uint32_t kMaxRecentCommands = 10;
constexpr std::uint32_t kKeepHistoryCommand = kRecentCommandBase + kMaxRecentCommands;
constexpr std::uint32_t kExportHistoryCommand = kKeepHistoryCommand + 1;
constexpr std::uint32_t kClearHistoryCommand = kKeepHistoryCommand + 2;

struct RecentMenuTexts {
    std::u16string recent;
    std::u16string keepHistory;
    std::u16string exportHistory;
    std::u16string clearHistory;
};

// "word (en → ru)". A line break or tab in the word shows as a space, and a long word is cut.
std::u16string RecentItemText(const HistoryEntry& entry);

// The first kMaxRecentCommands entries (newest first), a separator, "Keep a history" with its
// check mark, "Export…" and "Clear history"; the last two greyed while there is nothing to export
// or clear.
MenuItem BuildRecentPopup(const std::vector<HistoryEntry>& entries, bool keeping, const RecentMenuTexts& texts);

}  // namespace tray
