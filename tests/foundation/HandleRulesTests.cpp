// The ownership and validity rules of the handle classes, on either platform.
#include <cstring>
#include <stdexcept>

#include <gtest/gtest.h>

#include "foundation/config/Environment.h"
#include "foundation/patterns/Singleton.h"
#include "foundation/win32api/Handles.h"
#include "foundation/win32api/Lock.h"
#include "tests/support/TestSupport.h"

namespace {
using namespace Win32::API;

VOCABRA_CHILD_ROLE(exit_with)
{
    return args.empty() ? 0 : std::stoi(args.front());
}

VOCABRA_CHILD_ROLE(create_event)
{
    Event event;
    bool alreadyExisted = false;
    if (args.empty() || !event.Create(std::u16string(args.front().begin(), args.front().end()).c_str(), alreadyExisted))
        return 2;
    return alreadyExisted ? 1 : 0;
}

TEST(HandleRules, CloseReleasesOnceAndOnlyValidHandles)
{
    testsupport::TempFolder folder;
    File file;
    EXPECT_FALSE(file.IsValid());
    EXPECT_FALSE(file.Close());

    ASSERT_TRUE(file.Create(folder.File("a.txt").c_str(), kGenericWrite, 0, nullptr, kCreateAlways, 0, nullptr));
    EXPECT_TRUE(file.Close());
    EXPECT_FALSE(file.IsValid());
    EXPECT_FALSE(file.Close());
}

TEST(HandleRules, AllBitsOneIsInvalidForEveryKind)
{
    RegKey key;
    key.Attach(RegKey::InvalidValue());
    EXPECT_FALSE(key.IsValid());
    EXPECT_FALSE(key.Close());

    Library library;
    library.Attach(Library::InvalidValue());
    EXPECT_FALSE(library.IsValid());
    EXPECT_FALSE(library.Close());
    EXPECT_EQ(library.GetSymbol("anything"), nullptr);

    Event event;
    event.Attach(Event::InvalidValue());
    EXPECT_FALSE(event.IsValid());
    EXPECT_FALSE(event.Close());
}

TEST(HandleRules, MissingFileStaysInvalidAndReadsNothing)
{
    testsupport::TempFolder folder;
    File file;
    EXPECT_FALSE(file.Create(folder.File("missing.txt").c_str(), kGenericRead, kFileShareRead, nullptr, kOpenExisting,
                             0, nullptr));
    EXPECT_FALSE(file.IsValid());
    EXPECT_EQ(file.Path(), folder.File("missing.txt"));

    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_FALSE(file.Read(buffer, sizeof buffer));
    EXPECT_EQ(file.BytesTransferred(), 0u);
    EXPECT_EQ(std::string(buffer, sizeof buffer), "xxxxxxxx");
}

TEST(HandleRules, FileReadsWritesAndSizes)
{
    testsupport::TempFolder folder;
    const std::u16string path = folder.File("data.bin");
    File writer;
    ASSERT_TRUE(writer.Create(path.c_str(), kGenericWrite, kFileShareRead, nullptr, kOpenAlways, 0, nullptr));
    ASSERT_TRUE(writer.Write("abc", 3));
    ASSERT_TRUE(writer.SeekToEnd());
    ASSERT_TRUE(writer.Write("de", 2));
    EXPECT_EQ(writer.BytesTransferred(), 2u);
    std::uint32_t size = 0;
    ASSERT_TRUE(writer.GetSize(size));
    EXPECT_EQ(size, 5u);
    writer.Close();

    File reader;
    ASSERT_TRUE(reader.Create(path.c_str(), kGenericRead, kFileShareRead, nullptr, kOpenExisting, 0, nullptr));
    char buffer[16] = {};
    ASSERT_TRUE(reader.Read(buffer, sizeof buffer));
    EXPECT_EQ(reader.BytesTransferred(), 5u);
    EXPECT_STREQ(buffer, "abcde");
}

TEST(HandleRules, WriterSharingOnlyReadingKeepsOtherWritersAndReadersOut)
{
    testsupport::TempFolder folder;
    const std::u16string path = folder.File("shared.log");
    File first;
    ASSERT_TRUE(first.Create(path.c_str(), kGenericWrite, kFileShareRead, nullptr, kOpenAlways, 0, nullptr));
    File second;
    EXPECT_FALSE(second.Create(path.c_str(), kGenericWrite, kFileShareRead, nullptr, kOpenAlways, 0, nullptr));
    File reader;
    EXPECT_FALSE(reader.Create(path.c_str(), kGenericRead, kFileShareRead, nullptr, kOpenExisting, 0, nullptr));
    first.Close();
    EXPECT_TRUE(second.Create(path.c_str(), kGenericWrite, kFileShareRead, nullptr, kOpenAlways, 0, nullptr));
}

TEST(HandleRules, EventSeenAsExistingByAnotherProcessWhileHeld)
{
    const std::string name = "VocabraTest:event:" + std::to_string(reinterpret_cast<std::uintptr_t>(&name));
    EXPECT_EQ(testsupport::RunChild("create_event", {name}), 0);  // nobody holds it yet
    {
        Event event;
        bool alreadyExisted = true;
        ASSERT_TRUE(event.Create(std::u16string(name.begin(), name.end()).c_str(), alreadyExisted));
        EXPECT_FALSE(alreadyExisted);
        EXPECT_EQ(testsupport::RunChild("create_event", {name}), 1);
    }
    EXPECT_EQ(testsupport::RunChild("create_event", {name}), 0);  // gone with its last holder
}

TEST(HandleRules, FailedProcessStartReleasesTheEarlierProcess)
{
    ProcessEx process;
    ASSERT_TRUE(testsupport::StartChild(process, "exit_with", {"7"}));
    EXPECT_TRUE(process.IsValid());
    EXPECT_TRUE(process.PrimaryThread().IsValid());
    EXPECT_NE(process.ThreadId(), 0u);
    std::uint32_t exitCode = 0;
    ASSERT_TRUE(process.WaitForExit(60000, exitCode));
    EXPECT_EQ(exitCode, 7u);

    testsupport::TempFolder folder;
    const std::u16string missing = folder.File("no-such-program.exe");
    EXPECT_FALSE(process.Create(missing.c_str()));
    EXPECT_FALSE(process.IsValid());
    EXPECT_FALSE(process.PrimaryThread().IsValid());
    EXPECT_FALSE(process.Close());
}

TEST(HandleRules, CriticalSectionIsRecursiveForItsOwner)
{
    CriticalSection section;
    {
        ScopedLock outer(&section);
        ScopedLock inner(&section);
    }
    ScopedLock nothing(nullptr);  // a null guard does nothing
}

struct FailsOnce {
    static inline int attempts = 0;
    FailsOnce()
    {
        if (++attempts == 1)
            throw std::runtime_error("first construction fails");
    }
    int value = 5;
};

TEST(Singleton, FailedConstructionIsRetriedAndTheObjectIsShared)
{
    EXPECT_THROW(patterns::Singleton<FailsOnce>::GetInstance(), std::runtime_error);
    FailsOnce& first = patterns::Singleton<FailsOnce>::GetInstance();
    FailsOnce& second = patterns::Singleton<FailsOnce>::GetInstance();
    EXPECT_EQ(&first, &second);
    EXPECT_EQ(first.value, 5);
    EXPECT_EQ(FailsOnce::attempts, 2);
}

}  // namespace
