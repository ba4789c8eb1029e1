// The guard at GLib's callbacks, in a real main loop: sources whose C++ throws (out of memory
// included) leave the loop running, and each failure is in the diagnostic log.
#include <glib.h>
#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "foundation/config/Settings.h"
#include "foundation/glib/CallbackGuard.h"
#include "foundation/log/Log.h"
#include "tests/support/IsolatedProfile.h"
#include "translate/manager/TranslateException.h"

namespace {

struct FailingSource {
    const char* where;
    std::function<void()> fail;
    const char* logged;  // the line the failure leaves in the log
    int runs = 0;
};

std::vector<FailingSource> FailingSources()
{
    return {
        {"a runtime error", [] { throw std::runtime_error("it broke"); },
         "MAIN\t- Exception in a callback: a runtime error: it broke\r\n"},
        {"out of memory", [] { throw std::bad_alloc(); },
         "MAIN\t- Exception in a callback: out of memory: std::bad_alloc\r\n"},
        {"the engine", [] { throw translate::TranslateException(u"No service for the direction"); },
         "MAIN\t- Exception in a callback: the engine: No service for the direction\r\n"},
        {"anything else", [] { throw 42; },
         "MAIN\t- Exception in a callback: anything else: an exception of unknown type\r\n"},
    };
}

// A source that would run again for ever unless the guard answers its failure with "remove".
gboolean RunFailingSource(gpointer data)
{
    auto* source = static_cast<FailingSource*>(data);
    return glib::GuardCallback(
        source->where,
        [source] {
            ++source->runs;
            source->fail();
            return G_SOURCE_CONTINUE;
        },
        G_SOURCE_REMOVE);
}

gboolean QuitLoop(gpointer loop)
{
    g_main_loop_quit(static_cast<GMainLoop*>(loop));
    return G_SOURCE_REMOVE;
}

// In a process of its own: without the guard the first failure ends it, and its exit code says so.
VOCABRA_CHILD_ROLE(run_failing_sources)
{
    std::vector<FailingSource> sources = FailingSources();
    GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
    for (FailingSource& source : sources)
        g_idle_add(&RunFailingSource, &source);
    // Runs only once no idle source of higher priority is left.
    g_idle_add_full(G_PRIORITY_LOW, &QuitLoop, loop, nullptr);
    g_main_loop_run(loop);
    g_main_loop_unref(loop);
    int result = 0;
    for (const FailingSource& source : sources)
        result = result * 2 + (source.runs == 1 ? 0 : 1);
    return result;
}

class CallbackGuardTest : public testsupport::LoggingTest {};

TEST_F(CallbackGuardTest, ThrowingSourcesAreLoggedAndTheLoopGoesOn)
{
    Settings().key.SetDWORD(u"log", 1);
    EXPECT_EQ(testsupport::RunChild("run_failing_sources", {}), 0) << "each source ran exactly once";
    std::string expected;
    for (const FailingSource& source : FailingSources())
        expected += source.logged;
    EXPECT_EQ(testsupport::ReadFileBytes(LogFile()), expected);
}

}  // namespace
