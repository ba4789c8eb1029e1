#include <string>

#include <gtest/gtest.h>

#include "foundation/config/Environment.h"
#include "foundation/process/FileVersion.h"
#include "foundation/process/HostProcess.h"
#include "foundation/process/ProcessSnapshot.h"
#include "tests/support/TestSupport.h"

namespace {

std::string VersionText(const FixedFileInfo& info)
{
    return std::to_string(info.dwFileVersionMS >> 16) + "." + std::to_string(info.dwFileVersionMS & 0xFFFF) + "." +
           std::to_string(info.dwFileVersionLS >> 16) + "." + std::to_string(info.dwFileVersionLS & 0xFFFF);
}

TEST(FileVersion, ProgramsCarryTheProjectVersion)
{
    FixedFileInfo info{};
    ASSERT_TRUE(GetFileVersion(GetModuleFilePath(), info));
    EXPECT_EQ(info.dwSignature, kFixedFileInfoSignature);
    EXPECT_EQ(VersionText(info), VOCABRA_VERSION_TEXT);
}

TEST(FileVersion, FilesWithoutAVersionAreRefused)
{
    testsupport::TempFolder folder;
    testsupport::WriteFileBytes(folder.Path() / "plain.txt", "no version here");
    FixedFileInfo info{};
    EXPECT_FALSE(GetFileVersion(folder.File("plain.txt"), info));
    EXPECT_FALSE(GetFileVersion(folder.File("missing.exe"), info));
}

TEST(HostProcess, OnlyInternetExplorersExecutableIsTheHost)
{
    const std::u16string sep(1, kPathSeparator);
    EXPECT_TRUE(IsInternetExplorerPath(u"C:" + sep + u"Program Files" + sep + u"iexplore.exe"));
    EXPECT_TRUE(IsInternetExplorerPath(u"C:" + sep + u"IEXPLORE.EXE"));
    EXPECT_TRUE(IsInternetExplorerPath(u"iexplore-less name"));  // no folder at all
    EXPECT_FALSE(IsInternetExplorerPath(u"C:" + sep + u"Vocabra.exe"));
    EXPECT_FALSE(IsInternetExplorerPath(u"C:" + sep + u"iexplore.exe" + sep + u"other.exe"));
    EXPECT_FALSE(IsInternetExplorerPath(u"C:" + sep + u"iexplore.exe.bak"));
    EXPECT_FALSE(IsInternetExplorerHost());
}

TEST(ProcessSnapshot, FindsThisProcessAndEndsCleanly)
{
    const std::u16string module = GetModuleFilePath();
    const std::u16string ownName = module.substr(module.rfind(kPathSeparator) + 1);
    ProcessSnapshot snapshot;
    ASSERT_TRUE(snapshot.Valid());
    int entries = 0;
    bool foundSelf = false;
    for (bool more = snapshot.Valid(); more; more = snapshot.Next()) {
        ++entries;
        foundSelf = foundSelf || snapshot.ExeFile() == ownName;
    }
    EXPECT_TRUE(foundSelf);
    EXPECT_GT(entries, 1);
    EXPECT_FALSE(snapshot.Valid());
    EXPECT_FALSE(snapshot.Next());
}

}  // namespace
