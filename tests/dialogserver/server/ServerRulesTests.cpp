// The dialog server's command line and its lock count with the idle shutdown.
#include <atomic>
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "dialogserver/server/IdleShutdown.h"
#include "dialogserver/server/InformationPage.h"
#include "dialogserver/server/ServerCommandLine.h"
#include "tests/support/TestSupport.h"

namespace {
using namespace std::chrono_literals;
using dialogserver::IdleShutdown;
using dialogserver::ParseServerCommand;
using dialogserver::ServerCommand;

TEST(ServerCommandLine, WholeWordsAfterADashOrASlashAnyCase)
{
    const struct {
        const char16_t* line;
        ServerCommand command;
    } cases[] = {
        {u"", ServerCommand::RunServer},
        {u"-Embedding", ServerCommand::RunServer},
        {u"/regserver", ServerCommand::RegServer},
        {u"-RegServer", ServerCommand::RegServer},
        {u"/REGSERVER", ServerCommand::RegServer},
        {u"/RegServerX", ServerCommand::RunServer},
        {u"RegServer", ServerCommand::RunServer},
        {u"/Reg Server", ServerCommand::RunServer},
        {u"/UnregServerPerUser", ServerCommand::UnregServerPerUser},
        {u"/unregserver", ServerCommand::UnregServer},
        {u"-RegServerPerUser\t-Embedding", ServerCommand::RegServerPerUser},
        {u"-Embedding /UnregServer", ServerCommand::UnregServer},
        {u"/UnregServer /RegServer", ServerCommand::UnregServer},         // the first word decides
        {u"\"C:/Program Files/x/RegServer\"", ServerCommand::RunServer},  // ends at a quote, not a blank
        {u"C:/tools/RegServer", ServerCommand::RegServer},                // a word follows any slash
        {u"/", ServerCommand::RunServer},
        {u"-", ServerCommand::RunServer},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseServerCommand(c.line), c.command) << testing::PrintToString(std::u16string(c.line).size());
}

TEST(InformationPage, ShippedPathsWebAddressesAndABaseAddress)
{
    using dialogserver::LocateInformationPage;
    const std::u16string folder = u"C:\\Program Files\\Vocabra\\";
    const auto file = LocateInformationPage(u"pages\\en\\babylon.html", u"", folder);
    EXPECT_TRUE(file.isFile);
    EXPECT_EQ(file.where, u"C:\\Program Files\\Vocabra\\pages\\en\\babylon.html");

    const auto web =
        LocateInformationPage(u"HTTPS://pages.example.org/en/babylon.html", u"http://127.0.0.1:1/", folder);
    EXPECT_FALSE(web.isFile);
    EXPECT_EQ(web.where, u"HTTPS://pages.example.org/en/babylon.html");

    for (const char16_t* base : {u"http://127.0.0.1:8080/", u"http://127.0.0.1:8080"}) {
        const auto served = LocateInformationPage(u"pages\\ru\\lingvo.html", base, folder);
        EXPECT_FALSE(served.isFile);
        EXPECT_EQ(served.where, u"http://127.0.0.1:8080/pages/ru/lingvo.html");
    }
    EXPECT_EQ(LocateInformationPage(u"", u"http://x/", folder).where, u"");
}

TEST(IdleShutdown, QuitsOnceAfterAQuietSpellWithoutLocks)
{
    std::atomic<int> quits{0};
    IdleShutdown shutdown(true, 300ms, [&] { ++quits; });
    ASSERT_TRUE(shutdown.Started());
    EXPECT_EQ(shutdown.Lock(), 1);
    EXPECT_EQ(shutdown.Lock(), 2);
    EXPECT_EQ(shutdown.Unlock(), 1);
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(quits, 0) << "a lock is still held";
    const auto released = std::chrono::steady_clock::now();
    EXPECT_EQ(shutdown.Unlock(), 0);
    ASSERT_TRUE(testsupport::Eventually([&] { return quits == 1; }, 5s));
    EXPECT_GE(std::chrono::steady_clock::now() - released, 280ms);
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(quits, 1);
}

TEST(IdleShutdown, ALockWithinTheSpellKeepsTheServer)
{
    std::atomic<int> quits{0};
    IdleShutdown shutdown(true, 600ms, [&] { ++quits; });
    shutdown.Lock();
    shutdown.Unlock();
    std::this_thread::sleep_for(200ms);
    shutdown.Lock();  // a new object within the spell
    std::this_thread::sleep_for(900ms);
    EXPECT_EQ(quits, 0);
    shutdown.Unlock();
    EXPECT_TRUE(testsupport::Eventually([&] { return quits == 1; }, 5s));
}

TEST(IdleShutdown, AnUnlockWithinTheSpellStartsItAgain)
{
    std::atomic<int> quits{0};
    IdleShutdown shutdown(true, 600ms, [&] { ++quits; });
    shutdown.Lock();
    shutdown.Unlock();
    std::this_thread::sleep_for(400ms);
    shutdown.Lock();
    const auto last = std::chrono::steady_clock::now();
    shutdown.Unlock();
    ASSERT_TRUE(testsupport::Eventually([&] { return quits == 1; }, 5s));
    EXPECT_GE(std::chrono::steady_clock::now() - last, 580ms);
}

// A server that is started but never given an object (started by hand, or its client gave up)
// must not wait for a first release for ever.
TEST(IdleShutdown, WithoutAnyLockTheSpellRunsFromTheStart)
{
    std::atomic<int> quits{0};
    const auto started = std::chrono::steady_clock::now();
    IdleShutdown shutdown(true, 300ms, [&] { ++quits; });
    ASSERT_TRUE(testsupport::Eventually([&] { return quits == 1; }, 5s));
    EXPECT_GE(std::chrono::steady_clock::now() - started, 280ms);
}

// The server declines a quit when an object arrived after the monitor decided; that object's
// release must start the spell again, or the server would never end.
TEST(IdleShutdown, AfterAQuitTheNextLastUnlockStartsTheSpellAgain)
{
    std::atomic<int> quits{0};
    IdleShutdown shutdown(true, 200ms, [&] { ++quits; });
    ASSERT_TRUE(testsupport::Eventually([&] { return quits == 1; }, 5s));
    shutdown.Lock();
    std::this_thread::sleep_for(400ms);
    EXPECT_EQ(quits, 1) << "a lock is held";
    shutdown.Unlock();
    EXPECT_TRUE(testsupport::Eventually([&] { return quits == 2; }, 5s));
}

TEST(IdleShutdown, WithoutDelayTheLastUnlockQuitsAtOnce)
{
    int quits = 0;
    IdleShutdown shutdown(false, 5000ms, [&] { ++quits; });
    EXPECT_TRUE(shutdown.Started());
    shutdown.Lock();
    shutdown.Unlock();
    EXPECT_EQ(quits, 1);
}

TEST(IdleShutdown, StoppingBeforeTheSpellEndsQuitsNothing)
{
    std::atomic<int> quits{0};
    {
        IdleShutdown shutdown(true, 5000ms, [&] { ++quits; });
        shutdown.Lock();
        shutdown.Unlock();
    }
    EXPECT_EQ(quits, 0);
}

}  // namespace
