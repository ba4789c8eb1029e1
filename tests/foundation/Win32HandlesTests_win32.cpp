// What only the real system shows about the handle owners: sharing, cross-process names,
// process start-up and the registry itself.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "foundation/win32api/Handles.h"
#include "foundation/win32api/WideChar_win32.h"
#include "foundation/text/Utf.h"
#include "tests/support/TestSupport.h"

using namespace Win32::API;

namespace {

constexpr int kEventWasNew = 10;
constexpr int kEventExisted = 11;
constexpr int kEventFailed = 12;

std::u16string UniqueName(const char16_t* stem)
{
    return stem + text::Utf8ToUtf16(std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(::GetTickCount()));
}

}  // namespace

VOCABRA_CHILD_ROLE(win32_create_event)
{
    if (args.empty())
        return kEventFailed;
    Event event;
    bool existed = false;
    if (!event.Create(text::Utf8ToUtf16(args[0]).c_str(), existed))
        return kEventFailed;
    return existed ? kEventExisted : kEventWasNew;
}

TEST(Win32Event, SecondProcessSeesTheNameOnlyWhileTheFirstHoldsIt)
{
    const std::u16string name = UniqueName(u"VocabraTestEvent-");
    const std::string nameUtf8 = text::Utf16ToUtf8(name);
    {
        Event first;
        bool existed = true;
        ASSERT_TRUE(first.Create(name.c_str(), existed));
        EXPECT_FALSE(existed);
        EXPECT_EQ(kEventExisted, testsupport::RunChild("win32_create_event", {nameUtf8}));
    }
    EXPECT_EQ(kEventWasNew, testsupport::RunChild("win32_create_event", {nameUtf8}));
}

TEST(Win32File, SecondWriterIsRefusedWhileAWriterSharingOnlyReadsHoldsTheFile)
{
    testsupport::TempFolder folder;
    const std::u16string path = folder.File("shared.log");

    File writer;
    ASSERT_TRUE(writer.Create(path.c_str(), kGenericWrite, kFileShareRead, nullptr, kOpenAlways, 0, nullptr));

    File secondWriter;
    EXPECT_FALSE(secondWriter.Create(path.c_str(), kGenericWrite, kFileShareRead, nullptr, kOpenAlways, 0, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), ::GetLastError());

    File reader;
    EXPECT_TRUE(reader.Create(path.c_str(), kGenericRead, kFileShareRead | kFileShareWrite, nullptr, kOpenExisting,
                              0, nullptr));

    EXPECT_TRUE(writer.Close());
    EXPECT_TRUE(secondWriter.Create(path.c_str(), kGenericWrite, kFileShareRead | kFileShareWrite, nullptr,
                                    kOpenAlways, 0, nullptr));
}

TEST(Win32File, MissingFileLeavesAnInvalidHandleThatReadsNothing)
{
    testsupport::TempFolder folder;
    File file;
    EXPECT_FALSE(file.Create(folder.File("missing.txt").c_str(), kGenericRead, kFileShareRead, nullptr, kOpenExisting,
                             0, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), ::GetLastError());
    EXPECT_FALSE(file.IsValid());

    char buffer[4] = {'k', 'e', 'e', 'p'};
    DWORD count = 7;
    EXPECT_FALSE(::ReadFile(file.Get(), buffer, sizeof buffer, &count, nullptr));
    EXPECT_FALSE(file.Read(buffer, sizeof buffer));
    EXPECT_EQ(0u, file.BytesTransferred());
    EXPECT_EQ(std::string("keep"), std::string(buffer, sizeof buffer));
}

VOCABRA_CHILD_ROLE(win32_exit_with)
{
    return args.empty() ? 1 : std::stoi(args[0]);
}

TEST(Win32ProcessEx, FailedStartAfterASuccessfulOneReleasesTheEarlierProcess)
{
    ProcessEx process;
    ASSERT_TRUE(testsupport::StartChild(process, "win32_exit_with", {"42"}));
    ASSERT_TRUE(process.PrimaryThread().IsValid());
    EXPECT_NE(0u, process.ThreadId());
    std::uint32_t exitCode = 0;
    ASSERT_TRUE(process.WaitForExit(60000, exitCode));
    EXPECT_EQ(42u, exitCode);

    void* const earlierProcess = process.Get();
    void* const earlierThread = process.PrimaryThread().Get();
    testsupport::TempFolder folder;
    EXPECT_FALSE(process.Create(folder.File("no-such-program.exe").c_str()));

    EXPECT_FALSE(process.IsValid());
    EXPECT_FALSE(process.PrimaryThread().IsValid());
    EXPECT_EQ(0u, process.ThreadId());
    DWORD flags = 0;
    EXPECT_FALSE(::GetHandleInformation(earlierProcess, &flags));
    EXPECT_FALSE(::GetHandleInformation(earlierThread, &flags));
}

TEST(Win32Library, AllBitsOneIsNoLibraryAndClosesNothing)
{
    Library library;
    library.Attach(Library::InvalidValue());
    EXPECT_FALSE(library.IsValid());
    EXPECT_FALSE(library.Close());
    EXPECT_EQ(nullptr, library.GetSymbol("GetCurrentProcessId"));

    RegKey key;
    key.Attach(RegKey::InvalidValue());
    EXPECT_FALSE(key.IsValid());
    EXPECT_FALSE(key.Close());
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
        ASSERT_TRUE(key.Create(CurrentUserKey(), subKey.c_str(), nullptr, kRegOptionNonVolatile, kKeyAllAccess,
                               nullptr, &disposition));
        EXPECT_EQ(kRegCreatedNewKey, disposition);
        ASSERT_TRUE(key.SetDWORD(u"log", 1));
        ASSERT_TRUE(key.SetString(u"dictionaryPriority", u"A,B"));
    }
    DWORD value = 0;
    DWORD size = sizeof value;
    EXPECT_EQ(ERROR_SUCCESS, ::RegGetValueW(HKEY_CURRENT_USER, Wide(subKey.c_str()), L"log", RRF_RT_REG_DWORD,
                                            nullptr, &value, &size));
    EXPECT_EQ(1u, value);
    wchar_t text[16] = {};
    size = sizeof text;
    EXPECT_EQ(ERROR_SUCCESS, ::RegGetValueW(HKEY_CURRENT_USER, Wide(subKey.c_str()), L"dictionaryPriority",
                                            RRF_RT_REG_SZ, nullptr, text, &size));
    EXPECT_EQ(std::wstring(L"A,B"), text);
    EXPECT_EQ(ERROR_SUCCESS, ::RegDeleteTreeW(HKEY_CURRENT_USER, Wide(subKey.c_str())));
}
