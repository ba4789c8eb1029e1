// The version resource, string table, process list and log folder of the real system.
#include <windows.h>

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "foundation/config/Environment.h"
#include "foundation/log/Log.h"
#include "foundation/process/FileVersion.h"
#include "foundation/process/ProcessSnapshot.h"
#include "foundation/win32api/WideChar_win32.h"
#include "tests/support/TestSupport.h"

namespace {

std::u16string FileNameOf(const std::u16string& path)
{
    return path.substr(path.rfind(u'\\') + 1);
}

}  // namespace

TEST(Win32FileVersion, TestProgramCarriesTheProjectVersion)
{
    FixedFileInfo info{};
    ASSERT_TRUE(GetFileVersion(GetModuleFilePath(), info));
    EXPECT_EQ(kFixedFileInfoSignature, info.dwSignature);
    char text[64] = {};
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", info.dwFileVersionMS >> 16, info.dwFileVersionMS & 0xFFFF,
                  info.dwFileVersionLS >> 16, info.dwFileVersionLS & 0xFFFF);
    EXPECT_STREQ(VOCABRA_VERSION_TEXT, text);
}

TEST(Win32FileVersion, FilesWithoutAVersionResourceGiveNothing)
{
    testsupport::TempFolder folder;
    testsupport::WriteFileBytes(folder.Path() / "plain.txt", "no version here\r\n");
    FixedFileInfo info{};
    EXPECT_FALSE(GetFileVersion(folder.File("plain.txt"), info));
    EXPECT_FALSE(GetFileVersion(folder.File("missing.exe"), info));
}

struct LocaleString {
    unsigned id;
    UiLanguage language;
    const char16_t* expected;
};

class Win32ResourceStrings : public testing::TestWithParam<LocaleString> {};

TEST_P(Win32ResourceStrings, LoadsTheRequestedLanguage)
{
    EXPECT_EQ(std::u16string(GetParam().expected), LoadResourceString(GetParam().id, GetParam().language));
}

INSTANTIATE_TEST_SUITE_P(
    LocaleTable, Win32ResourceStrings,
    testing::Values(LocaleString{IDS_LOCALE_FOLDER, UiLanguage::English, u"locale\\en\\"},
                    LocaleString{IDS_CONFIGURATION_PATH, UiLanguage::English, u"locale\\en\\Configuration.properties"},
                    LocaleString{IDS_TRANSLATE_DIRECTION_PATH, UiLanguage::English,
                                 u"locale\\en\\translate_direction.properties"},
                    LocaleString{IDS_LANGUAGE_CODE, UiLanguage::English, u"en"},
                    LocaleString{IDS_LOCALE_FOLDER, UiLanguage::Russian, u"locale\\ru\\"},
                    LocaleString{IDS_CONFIGURATION_PATH, UiLanguage::Russian, u"locale\\ru\\Configuration.properties"},
                    LocaleString{IDS_TRANSLATE_DIRECTION_PATH, UiLanguage::Russian,
                                 u"locale\\ru\\translate_direction.properties"},
                    LocaleString{IDS_LANGUAGE_CODE, UiLanguage::Russian, u"ru"},
                    // Neighbours of the table: in its block but unset, in no block at all, out of range.
                    LocaleString{IDS_LANGUAGE_CODE + 1, UiLanguage::English, u""},
                    LocaleString{IDS_LOCALE_FOLDER - 1, UiLanguage::Russian, u""},
                    LocaleString{4000, UiLanguage::English, u""},
                    LocaleString{0x100000 + IDS_LOCALE_FOLDER, UiLanguage::English, u""}));

TEST(Win32ProcessSnapshot, FindsTheRunningTestProgram)
{
    const std::u16string self = FileNameOf(GetModuleFilePath());
    ASSERT_FALSE(self.empty());
    bool found = false;
    int entries = 0;
    for (ProcessSnapshot snapshot; snapshot.Valid(); snapshot.Next()) {
        ++entries;
        if (snapshot.ProcessId() == ::GetCurrentProcessId()) {
            found = true;
            EXPECT_EQ(0, ::lstrcmpiW(Win32::API::Wide(self.c_str()), Win32::API::Wide(snapshot.ExeFile().c_str())));
        }
    }
    EXPECT_TRUE(found);
    EXPECT_GT(entries, 1);
}

TEST(Win32LogFolder, LiesInTheUsersLocalLowFolder)
{
    // LocalLow is the sibling of the local application-data folder that low-integrity processes
    // may write to; the folder is built from the latter's name, so check it really exists.
    const std::u16string folder = SharedLogFolder();
    ASSERT_FALSE(folder.empty());
    const std::u16string parent = DirectoryOf(folder);
    EXPECT_EQ(u"Vocabra", folder.substr(parent.size()));
    EXPECT_EQ(0, ::lstrcmpiW(L"LocalLow", Win32::API::Wide(FileNameOf(parent.substr(0, parent.size() - 1)).c_str())));
    EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::path(parent)));

    testsupport::TempFolder temp;
    CreateLogFolder(temp.File("Vocabra"));
    CreateLogFolder(temp.File("Vocabra"));
    EXPECT_TRUE(std::filesystem::is_directory(temp.Path() / "Vocabra"));
}
