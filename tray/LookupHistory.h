#pragma once
// The words the user has looked up, newest first, and the text of the file that keeps them: one
// entry per line, "word<TAB>direction<TAB>service id<TAB>time", UTF-8, the time in UTC as
// "2026-12-08T15:44:43Z". Tabs, line breaks and backslashes inside a field are escaped ("\t",
// "\n", "\r", "\\"), so that any word comes back as it was.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "translate/manager/SupportedDirections.h"

namespace tray {

struct HistoryEntry {
    std::u16string word;
    translate::Direction direction;
    std::u16string serviceId;
    std::int64_t time = 0;  // seconds since 1970-01-01 00:00 UTC

    bool operator==(const HistoryEntry& other) const
    {
        return word == other.word && direction == other.direction && serviceId == other.serviceId && time == other.time;
    }
};

constexpr std::size_t kMaxHistoryEntries = 5000;

class LookupHistory {
public:
    LookupHistory() = default;
    // Entries as read, newest first; those past the cap are dropped.
    explicit LookupHistory(std::vector<HistoryEntry> entries);

    const std::vector<HistoryEntry>& Entries() const { return m_entries; }
    // At the top. The same word, direction and service looked up again moves there instead of
    // being kept twice; past the cap the oldest goes.
    void Add(HistoryEntry entry);
    void Clear() { m_entries.clear(); }

private:
    std::vector<HistoryEntry> m_entries;
};

// The lookup history as the program found it, and how a changed one is kept: `save` returns at
// once (the program writes its file on a thread of its own).
struct KeptHistory {
    std::vector<HistoryEntry> entries;
    std::function<void(const std::vector<HistoryEntry>&)> save;
};

// "2026-12-08T15:44:43Z"; and back, none for any other text.
std::string FormatUtcTime(std::int64_t time);
bool ParseUtcTime(std::string_view text, std::int64_t& time);

std::string SerializeHistory(const std::vector<HistoryEntry>& entries);

// The entries of the file's text as far as it is sound; `damaged` is the text from the first line
// that is not (empty when every line is).
struct ParsedHistory {
    std::vector<HistoryEntry> entries;
    std::string damaged;
};
ParsedHistory ParseHistory(std::string_view text);

// The export for flash-card programs: tab-separated UTF-8 with Anki's header lines, then one line
// per entry: word, direction, the service's name, time. A tab or line break inside a word becomes
// a space: the importers take every one as the end of a field or a card.
using ServiceNamer = std::function<std::u16string(const std::u16string& serviceId)>;
std::string ExportHistory(const std::vector<HistoryEntry>& entries, const ServiceNamer& serviceName);

}  // namespace tray
