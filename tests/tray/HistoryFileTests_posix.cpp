// The history's file on POSIX: its place, and a write that fails half-way.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/IsolatedProfile.h"
#include "tray/HistoryFile.h"

namespace {

TEST(HistoryFilePath, IsInTheUsersStateFolder)
{
    {
        const testsupport::ScopedEnvironment state("XDG_STATE_HOME", "/state/of/user");
        EXPECT_EQ(tray::HistoryFilePath(), "/state/of/user/vocabra/history.tsv");
    }
    const testsupport::ScopedEnvironment relative("XDG_STATE_HOME", "not/absolute");
    const testsupport::ScopedEnvironment home("HOME", "/home/user");
    EXPECT_EQ(tray::HistoryFilePath(), "/home/user/.local/state/vocabra/history.tsv");
}

// File writes larger than `bytes` fail (EFBIG) while the object lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

TEST(HistoryFileWrite, ThatFailsHalfWayLeavesTheOldFile)
{
    const testsupport::TempFolder folder;
    const std::string file = (folder.Path() / "history.tsv").string();
    const std::vector<tray::HistoryEntry> old = {{u"cat", u"en-ru", u"Fake", 0}};
    ASSERT_TRUE(tray::SaveHistory(file, old));

    std::vector<tray::HistoryEntry> longer(200,
                                           tray::HistoryEntry{u"a long word to fill the disk", u"en-ru", u"Fake", 0});
    {
        const FileSizeLimit full(1000);  // the disk is full after 1000 bytes
        EXPECT_FALSE(tray::SaveHistory(file, longer));
    }
    EXPECT_EQ(tray::LoadHistory(file), old);
    // The half-written file is gone too.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), std::filesystem::directory_iterator()),
              1);
}

}  // namespace
