// The history written off the caller's thread: every save ends on disk, the newest last.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"
#include "tray/HistoryFile.h"
#include "tray/HistorySaver.h"

namespace {
using tray::HistoryEntry;

TEST(HistorySaver, SavesInARowEndWithTheNewestOnDisk)
{
    const testsupport::TempFolder folder;
    const std::string path = (folder.Path() / "state" / "history.tsv").string();
    std::vector<HistoryEntry> entries;
    {
        tray::HistorySaver saver(path);
        for (int i = 0; i < 200; ++i) {
            entries.insert(entries.begin(),
                           HistoryEntry{u"w" + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)) +
                                            std::u16string(1, static_cast<char16_t>(u'A' + i / 10)),
                                        u"en-ru", u"A", i});
            saver.Save(entries);
        }
        ASSERT_TRUE(saver.WaitUntilWritten(std::chrono::seconds(20)));
        EXPECT_EQ(tray::LoadHistory(path), entries);

        // A save after the writer has gone idle starts it again.
        entries.erase(entries.begin());
        saver.Save(entries);
    }
    // The saver's end waits for the last write.
    EXPECT_EQ(tray::LoadHistory(path), entries);
}

TEST(HistorySaver, WithoutAPlaceSavesNothing)
{
    tray::HistorySaver saver("");
    saver.Save({{u"cat", u"en-ru", u"A", 1}});
    EXPECT_TRUE(saver.WaitUntilWritten(std::chrono::milliseconds(0)));
}

}  // namespace
