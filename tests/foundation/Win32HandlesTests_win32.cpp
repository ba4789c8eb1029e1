// What only the real system shows about the handle owners: released handles are gone from the
// process, keys land in the system registry, loaded code can be called.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "foundation/text/Utf.h"
#include "foundation/win32api/Handles.h"
#include "foundation/win32api/WideChar_win32.h"
#include "tests/support/TestSupport.h"

using namespace Win32::API;

namespace {

std::u16string UniqueName(const char16_t* stem)
{
    return stem + text::Utf8ToUtf16(std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(::GetTickCount()));
}

bool IsOpenHandle(void* handle)
{
    DWORD flags = 0;
    return ::GetHandleInformation(handle, &flags) != FALSE;
}

}  // namespace

VOCABRA_CHILD_ROLE(win32_exit_at_once)
{
    return static_cast<int>(args.size());
}

TEST(Win32ProcessEx, FailedStartClosesTheEarlierHandlesInTheSystem)
{
    ProcessEx process;
    ASSERT_TRUE(testsupport::StartChild(process, "win32_exit_at_once", {"one argument", "two"}));
    std::uint32_t exitCode = 0;
    ASSERT_TRUE(process.WaitForExit(60000, exitCode));
    EXPECT_EQ(2u, exitCode);
    void* const earlierProcess = process.Get();
    void* const earlierThread = process.PrimaryThread().Get();
    ASSERT_TRUE(IsOpenHandle(earlierProcess));
    ASSERT_TRUE(IsOpenHandle(earlierThread));

    testsupport::TempFolder folder;
    EXPECT_FALSE(process.Create(folder.File("no-such-program.exe").c_str()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), ::GetLastError());
    EXPECT_FALSE(IsOpenHandle(earlierProcess));
    EXPECT_FALSE(IsOpenHandle(earlierThread));
    EXPECT_EQ(0u, process.ThreadId());
}

TEST(Win32File, FailedCreateReportsItsOwnErrorAfterReleasingTheOldFile)
{
    testsupport::TempFolder folder;
    File file;
    ASSERT_TRUE(file.Create(folder.File("present.txt").c_str(), kGenericWrite, 0, nullptr, kCreateAlways, 0, nullptr));
    void* const earlier = file.Get();

    EXPECT_FALSE(file.Create(folder.File("missing.txt").c_str(), kGenericRead, kFileShareRead, nullptr, kOpenExisting,
                             0, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), ::GetLastError());
    EXPECT_FALSE(IsOpenHandle(earlier));

    char buffer[4] = {'k', 'e', 'e', 'p'};
    DWORD count = 7;
    EXPECT_FALSE(::ReadFile(file.Get(), buffer, sizeof buffer, &count, nullptr));
    EXPECT_EQ(std::string("keep"), std::string(buffer, sizeof buffer));
}

TEST(Win32Library, SymbolsOfALoadedLibraryCanBeCalled)
{
    Library library;
    ASSERT_TRUE(library.Load(u"kernel32.dll"));
    using ProcessIdFunction = DWORD(WINAPI*)();
    const auto processId = reinterpret_cast<ProcessIdFunction>(library.GetSymbol("GetCurrentProcessId"));
    ASSERT_NE(nullptr, processId);
    EXPECT_EQ(::GetCurrentProcessId(), processId());
    EXPECT_EQ(nullptr, library.GetSymbol("NoSuchFunctionAnywhere"));
    EXPECT_TRUE(library.Close());

    EXPECT_FALSE(library.Load(u"no-such-library-anywhere.dll"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_MOD_NOT_FOUND), ::GetLastError());
}

TEST(Win32RegKey, PredefinedKeysAreTheSystemsOwn)
{
    EXPECT_EQ(HKEY_CLASSES_ROOT, PredefinedKey(kHkeyClassesRoot));
    EXPECT_EQ(HKEY_CURRENT_USER, CurrentUserKey());
    EXPECT_EQ(HKEY_LOCAL_MACHINE, PredefinedKey(kHkeyLocalMachine));
    EXPECT_EQ(HKEY_USERS, PredefinedKey(kHkeyUsers));
}

TEST(Win32RegKey, ValuesLandInTheSystemRegistry)
{
    const std::u16string subKey = UniqueName(u"Software\\VocabraTests\\Key-");
    {
        RegKey key;
        std::uint32_t disposition = 0;
        ASSERT_TRUE(key.Create(CurrentUserKey(), subKey.c_str(), nullptr, kRegOptionNonVolatile, kKeyAllAccess, nullptr,
                               &disposition));
        EXPECT_EQ(kRegCreatedNewKey, disposition);
        ASSERT_TRUE(key.SetDWORD(u"log", 1));
        ASSERT_TRUE(key.SetString(u"dictionaryPriority", u"A,B"));
        ASSERT_TRUE(key.SetString(u"gone", u"x"));
        ASSERT_TRUE(key.DeleteValue(u"gone"));
        EXPECT_FALSE(key.DeleteValue(u"gone"));
        EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), ::GetLastError());
    }
    const wchar_t* const path = Wide(subKey.c_str());
    DWORD value = 0;
    DWORD size = sizeof value;
    EXPECT_EQ(ERROR_SUCCESS, ::RegGetValueW(HKEY_CURRENT_USER, path, L"log", RRF_RT_REG_DWORD, nullptr, &value, &size));
    EXPECT_EQ(1u, value);
    wchar_t text[16] = {};
    size = sizeof text;
    EXPECT_EQ(ERROR_SUCCESS,
              ::RegGetValueW(HKEY_CURRENT_USER, path, L"dictionaryPriority", RRF_RT_REG_SZ, nullptr, text, &size));
    EXPECT_EQ(std::wstring(L"A,B"), text);
    EXPECT_EQ(sizeof L"A,B", size);

    // A failed Create releases the key held before.
    RegKey key;
    ASSERT_TRUE(key.Create(CurrentUserKey(), subKey.c_str()));
    const HKEY earlier = key.Get();
    EXPECT_FALSE(key.Create(nullptr, u"Anything"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), ::GetLastError());
    EXPECT_FALSE(key.IsValid());
    EXPECT_NE(ERROR_SUCCESS, ::RegQueryInfoKeyW(earlier, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                                nullptr, nullptr, nullptr, nullptr));

    EXPECT_EQ(ERROR_SUCCESS, ::RegDeleteTreeW(HKEY_CURRENT_USER, path));
}
