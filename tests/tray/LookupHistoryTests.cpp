// The lookup history: its order and cap, and the file and export texts it is kept and given in.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tray/LookupHistory.h"

namespace {
using tray::HistoryEntry;

constexpr std::int64_t kDecember8 = 1796744683;  // 2026-12-08T15:44:43Z

HistoryEntry Entry(std::u16string word,
                   std::u16string direction = u"en-ru",
                   std::u16string service = u"Fake",
                   std::int64_t time = kDecember8)
{
    return {std::move(word), std::move(direction), std::move(service), time};
}

std::vector<std::u16string> Words(const tray::LookupHistory& history)
{
    std::vector<std::u16string> words;
    for (const HistoryEntry& entry : history.Entries())
        words.push_back(entry.word);
    return words;
}

TEST(LookupHistory, NewestFirstAndALookupRepeatedMovesToTheTop)
{
    tray::LookupHistory history;
    history.Add(Entry(u"cat"));
    history.Add(Entry(u"dog"));
    history.Add(Entry(u"cat", u"en-ru", u"Fake", kDecember8 + 60));
    EXPECT_EQ(Words(history), (std::vector<std::u16string>{u"cat", u"dog"}));
    EXPECT_EQ(history.Entries()[0].time, kDecember8 + 60);
    // Another direction or service is another lookup.
    history.Add(Entry(u"dog", u"en-de"));
    history.Add(Entry(u"dog", u"en-ru", u"Second"));
    EXPECT_EQ(history.Entries().size(), 4u);
    history.Clear();
    EXPECT_TRUE(history.Entries().empty());
}

TEST(LookupHistory, KeepsTheNewestFiveThousand)
{
    std::vector<HistoryEntry> read;
    for (int i = 5002; i > 0; --i) {
        const std::string number = std::to_string(i);
        read.push_back(Entry(u"w" + std::u16string(number.begin(), number.end())));
    }
    tray::LookupHistory history(read);  // newest first: w5002 ... w3 are kept
    ASSERT_EQ(history.Entries().size(), tray::kMaxHistoryEntries);
    EXPECT_EQ(history.Entries().back().word, u"w3");
    history.Add(Entry(u"new"));
    ASSERT_EQ(history.Entries().size(), tray::kMaxHistoryEntries);
    EXPECT_EQ(history.Entries().front().word, u"new");
    EXPECT_EQ(history.Entries().back().word, u"w4");
}

TEST(HistoryFile, AnyWordComesBackAsItWas)
{
    const std::vector<HistoryEntry> entries = {
        Entry(u"tab\there"),
        Entry(u"two\nlines\r\n"),
        Entry(u"back\\slash \\t not a tab"),
        Entry(u"Ёлка 雪 🙂"),
        Entry(u"x", u"ru-en", u"Id\twith tab", 0),
        Entry(u"old", u"en-ru", u"Fake", -62167219200),  // the first second of year 0
    };
    const std::string text = tray::SerializeHistory(entries);
    EXPECT_EQ(text.substr(0, text.find('\n')), "tab\\there\ten-ru\tFake\t2026-12-08T15:44:43Z");
    const tray::ParsedHistory parsed = tray::ParseHistory(text);
    EXPECT_EQ(parsed.entries, entries);
    EXPECT_EQ(parsed.damaged, "");
}

TEST(HistoryFile, IsReadAsFarAsItIsSoundAndTheRestIsKeptAside)
{
    const std::string sound = "cat\ten-ru\tFake\t2026-12-08T15:44:43Z\r\ndog\ten-ru\tFake\t2026-12-08T15:44:44Z\n";
    const std::vector<std::string> breaks = {
        "three\ten-ru\tFake\n",                          // a field short
        "five\ten-ru\tFake\t2026-12-08T15:44:43Z\tx\n",  // one too many
        "\ten-ru\tFake\t2026-12-08T15:44:43Z\n",         // no word
        "bad\\q\ten-ru\tFake\t2026-12-08T15:44:43Z\n",   // an escape that is none
        "end\\\ten-ru\tFake\t2026-12-08T15:44:43Z\n",    // a backslash that escapes the separator
        "utf\xff\ten-ru\tFake\t2026-12-08T15:44:43Z\n",  // broken UTF-8
        "feb\ten-ru\tFake\t2026-02-29T10:00:00Z\n",      // no such day
        "late\ten-ru\tFake\t2026-12-08T24:00:00Z\n",     // no such hour
        "cut\ten-ru\tFake\t2026-12-08T15:4\n",           // the write stopped here
    };
    for (const std::string& broken : breaks) {
        SCOPED_TRACE(broken);
        const std::string rest = broken + "more\ten-ru\tFake\t2026-12-08T15:44:45Z\n";
        const tray::ParsedHistory parsed = tray::ParseHistory(sound + rest);
        ASSERT_EQ(parsed.entries.size(), 2u);
        EXPECT_EQ(parsed.entries[1].word, u"dog");
        EXPECT_EQ(parsed.damaged, rest);
    }
    // A sound last line without its line break is kept; so is a leap day.
    const tray::ParsedHistory last = tray::ParseHistory("leap\ten-ru\tFake\t2028-02-29T23:59:59Z");
    ASSERT_EQ(last.entries.size(), 1u);
    EXPECT_EQ(tray::FormatUtcTime(last.entries[0].time), "2028-02-29T23:59:59Z");
    EXPECT_TRUE(tray::ParseHistory("").entries.empty());
}

TEST(HistoryExport, IsTabSeparatedWithAnkisHeaderAndTheServicesNames)
{
    const std::string text =
        tray::ExportHistory({Entry(u"кот"), Entry(u"a\tb\nc", u"de-ru", u"Second", 0)},
                            [](const std::u16string& id) { return id == u"Fake" ? u"Fake Dictionary" : u"?" + id; });
    EXPECT_EQ(text,
              "#separator:tab\n#html:false\n#columns:Word\tDirection\tService\tTime\n"
              "\xD0\xBA\xD0\xBE\xD1\x82\ten-ru\tFake Dictionary\t2026-12-08T15:44:43Z\n"
              "a b c\tde-ru\t?Second\t1970-01-01T00:00:00Z\n");
}

}  // namespace
