// The lookup history's file as the program reads it. Whatever the bytes: what is read plus what is
// kept aside is the whole text, what is read is written back as text that reads the same entries
// with nothing kept aside, and every time read is one the file format can hold again.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzSupport.h"
#include "tray/LookupHistory.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const tray::ParsedHistory parsed = tray::ParseHistory(text);
    FUZZ_CHECK(parsed.damaged.size() <= text.size());
    FUZZ_CHECK(text.substr(text.size() - parsed.damaged.size()) == parsed.damaged);
    FUZZ_CHECK(parsed.entries.empty() == (parsed.damaged.size() == text.size()) || text.empty());

    const std::string written = tray::SerializeHistory(parsed.entries);
    const tray::ParsedHistory again = tray::ParseHistory(written);
    FUZZ_CHECK(again.damaged.empty());
    FUZZ_CHECK(again.entries == parsed.entries);
    for (const tray::HistoryEntry& entry : parsed.entries) {
        std::int64_t time = 0;
        FUZZ_CHECK(tray::ParseUtcTime(tray::FormatUtcTime(entry.time), time) && time == entry.time);
    }
    return 0;
}
