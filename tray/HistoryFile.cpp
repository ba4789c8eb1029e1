#include "tray/HistoryFile.h"

namespace tray {

std::vector<HistoryEntry> LoadHistory(const std::string& path)
{
    std::string text;
    if (path.empty() || !ReadHistoryFile(path, text))
        return {};
    ParsedHistory parsed = ParseHistory(text);
    // Kept aside before the file loses it, and only then.
    if (!parsed.damaged.empty() && AppendToHistoryFile(path + ".damaged", parsed.damaged))
        ReplaceHistoryFile(path, SerializeHistory(parsed.entries));
    return LookupHistory(std::move(parsed.entries)).Entries();
}

bool SaveHistory(const std::string& path, const std::vector<HistoryEntry>& entries)
{
    return !path.empty() && ReplaceHistoryFile(path, SerializeHistory(entries));
}

}  // namespace tray
