// The string table and the log folder as the real system resolves them.
#include <windows.h>

#include <filesystem>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "foundation/config/Environment.h"
#include "foundation/log/Log.h"
#include "foundation/win32api/WideChar_win32.h"
#include "tests/support/TestSupport.h"

namespace {

struct AbsentString {
    unsigned id;
    const char* why;
};

std::ostream& operator<<(std::ostream& out, const AbsentString& absent)
{
    return out << absent.id << " (" << absent.why << ")";
}

class Win32AbsentStrings : public testing::TestWithParam<AbsentString> {};

TEST_P(Win32AbsentStrings, LoadAsEmptyInBothLanguages)
{
    EXPECT_EQ(u"", LoadResourceString(GetParam().id, UiLanguage::English)) << GetParam().why;
    EXPECT_EQ(u"", LoadResourceString(GetParam().id, UiLanguage::Russian)) << GetParam().why;
}

// Ids 96-111 share one block with the locale strings, 112-127 the next: gaps inside a present
// block must not borrow a neighbour's text, and ids beyond 16 bits must not wrap onto real ones.
INSTANTIATE_TEST_SUITE_P(Neighbours,
                         Win32AbsentStrings,
                         testing::Values(AbsentString{IDS_LOCALE_FOLDER - 1, "gap before the table, same block"},
                                         AbsentString{IDS_DIALOG_PROGID_PREFIX + 1, "gap after the table, same block"},
                                         AbsentString{127, "last entry of the second block"},
                                         AbsentString{0x100000 + IDS_LOCALE_FOLDER,
                                                      "wraps onto the table's block in 16 bits"}));

TEST(Win32LogFolder, LiesInTheUsersLocalLowFolder)
{
    // The folder is built from the local application-data folder's name; make sure that lands in
    // the real LocalLow folder, where low-integrity browser hosts may write too.
    const std::u16string folder = SharedLogFolder();
    ASSERT_FALSE(folder.empty());
    const std::u16string parent = DirectoryOf(folder);
    ASSERT_GE(parent.size(), 2u);
    EXPECT_EQ(u"Vocabra", folder.substr(parent.size()));
    const std::u16string parentName = DirectoryOf(parent.substr(0, parent.size() - 1));
    EXPECT_EQ(0, ::lstrcmpiW(L"LocalLow", Win32::API::Wide(parent.substr(parentName.size(), 8).c_str())));
    EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::path(parent)));

    testsupport::TempFolder temp;
    CreateLogFolder(temp.File("Vocabra"));
    CreateLogFolder(temp.File("Vocabra"));  // already there: no harm
    EXPECT_TRUE(std::filesystem::is_directory(temp.Path() / "Vocabra"));
}

}  // namespace
