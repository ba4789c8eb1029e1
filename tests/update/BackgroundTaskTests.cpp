// The check's thread: its answer, and a caller that stops waiting for it (the program quits)
// while it still talks to a server that does not answer.
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include <gtest/gtest.h>

#include "foundation/threads/BackgroundTask.h"
#include "tests/support/TestSupport.h"
#include "tests/update/UpdateTestSupport.h"
#include "update/UpdateCheck.h"

namespace {
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using threads::BackgroundTask;

TEST(BackgroundTask, GivesTheAnswerAndCallsBackAfterIt)
{
    auto calledBack = std::make_shared<std::atomic<bool>>(false);
    std::thread::id worker;
    {
        const BackgroundTask task(
            [&worker] {
                worker = std::this_thread::get_id();
                return false;
            },
            [calledBack] { *calledBack = true; });
        ASSERT_TRUE(task.Started());
        ASSERT_TRUE(task.WaitFor(10s));
        EXPECT_TRUE(task.Finished());
        EXPECT_EQ(task.Result(), std::optional<bool>(false));
    }
    EXPECT_TRUE(*calledBack);  // the destructor of a finished task waits for its last steps
    EXPECT_NE(worker, std::this_thread::get_id());

    const BackgroundTask throwing([]() -> bool { throw 7; });
    ASSERT_TRUE(throwing.WaitFor(10s));
    EXPECT_EQ(throwing.Result(), std::nullopt);
}

using AbandonedCheckTest = updatetest::UpdateSettingsTest;

// The caller goes at once; the thread ends later by itself, at the check's time limit, touching
// nothing of the caller's (AddressSanitizer watches this in the sanitized build).
TEST_F(AbandonedCheckTest, ACallerThatStopsWaitingIsNotHeld)
{
    testsupport::LocalHttpServer server(updatetest::SilentReply());
    ASSERT_TRUE(server.IsListening());
    const std::u16string url = server.Url("/tools/VocabraUpdate.xml");
    const int before = BackgroundTask::AbandonedAndRunning();

    auto task = std::make_unique<BackgroundTask>(
        [url] { return update::CheckForUpdate(true, url, update::CurrentTime(), std::chrono::seconds(3)); });
    ASSERT_TRUE(server.WaitForGet("/tools/VocabraUpdate.xml", 10s));
    EXPECT_FALSE(task->Finished());

    const auto start = Clock::now();
    task.reset();
    EXPECT_LT(Clock::now() - start, 500ms);
    EXPECT_EQ(BackgroundTask::AbandonedAndRunning(), before + 1);

    EXPECT_TRUE(testsupport::Eventually([&] { return BackgroundTask::AbandonedAndRunning() == before; }, 10s));
}

}  // namespace
