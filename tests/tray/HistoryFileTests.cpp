// The history's file: written whole and read back, and a damaged one read as far as it is sound.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"
#include "tray/HistoryFile.h"

namespace {
using tray::HistoryEntry;

std::string Read(const std::filesystem::path& path)
{
    std::string text;
    EXPECT_TRUE(tray::ReadHistoryFile(path.string(), text));
    return text;
}

class HistoryFileTest : public ::testing::Test {
protected:
    std::string File() const { return m_file.string(); }

    testsupport::TempFolder m_folder;
    std::filesystem::path m_file = m_folder.Path() / "state" / "vocabra" / "history.tsv";
};

TEST_F(HistoryFileTest, IsWrittenWholeAndReadBack)
{
    EXPECT_TRUE(tray::LoadHistory(File()).empty());  // none yet
    const std::vector<HistoryEntry> entries = {{u"кот", u"ru-en", u"Fake", 1796744683}, {u"cat", u"en-ru", u"B", 0}};
    ASSERT_TRUE(tray::SaveHistory(File(), entries));  // the folders are made
    EXPECT_EQ(tray::LoadHistory(File()), entries);
    ASSERT_TRUE(tray::SaveHistory(File(), {entries[1]}));
    EXPECT_EQ(tray::LoadHistory(File()), std::vector<HistoryEntry>{entries[1]});
    // Nothing but the file is left in its folder.
    EXPECT_EQ(
        std::distance(std::filesystem::directory_iterator(m_file.parent_path()), std::filesystem::directory_iterator()),
        1);
}

TEST_F(HistoryFileTest, ADamagedFileKeepsItsRestAsideAndIsWrittenAgainWithoutIt)
{
    const std::string sound = "cat\ten-ru\tFake\t2026-12-08T15:44:43Z\n";
    ASSERT_TRUE(tray::ReplaceHistoryFile(File(), sound + "broken line\nmore\ten-ru\tFake\t2026-12-08T15:44:43Z\n"));
    const std::vector<HistoryEntry> read = tray::LoadHistory(File());
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].word, u"cat");
    EXPECT_EQ(Read(m_file), sound);
    EXPECT_EQ(Read(File() + ".damaged"), "broken line\nmore\ten-ru\tFake\t2026-12-08T15:44:43Z\n");

    // A second damage is added to the first: nothing the user had is lost.
    ASSERT_TRUE(tray::AppendToHistoryFile(File(), "again\n"));
    EXPECT_EQ(tray::LoadHistory(File()).size(), 1u);
    EXPECT_EQ(Read(File() + ".damaged"), "broken line\nmore\ten-ru\tFake\t2026-12-08T15:44:43Z\nagain\n");
}

}  // namespace
