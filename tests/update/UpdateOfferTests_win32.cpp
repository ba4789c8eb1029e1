// The update offer runs its check off the main thread, which keeps dispatching: the low-level
// keyboard hook and the windows of the tray program must keep answering during a slow check.
#include <windows.h>

#include <objbase.h>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include <gtest/gtest.h>

#include "foundation/threads/BackgroundTask.h"
#include "foundation/threads/PumpingWait_win32.h"
#include "tests/support/TestSupport.h"
#include "tests/update/UpdateTestSupport.h"
#include "update/UpdateCheck.h"
#include "update/UpdateOffer.h"

namespace {
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using threads::PumpedWork;
using threads::RunWhilePumping;
using update::OfferOutcome;
using update::OfferSteps;
using update::RunUpdateOffer;

constexpr UINT kPoke = WM_APP + 1;
constexpr DWORD kPatienceMs = 5000;
constexpr std::chrono::milliseconds kNoLimit = 60s;

// A top-level window of this thread whose messages go to `handler`.
class TestWindow {
public:
    explicit TestWindow(std::function<void(UINT)> handler) : m_handler(std::move(handler))
    {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &Procedure;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"VocabraOfferTestWindow";
        ::RegisterClassW(&windowClass);  // a second registration fails harmlessly
        m_window = ::CreateWindowExW(0, windowClass.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                     windowClass.hInstance, this);
    }
    ~TestWindow()
    {
        if (::IsWindow(m_window))
            ::DestroyWindow(m_window);
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND Get() const { return m_window; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<TestWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && message >= WM_APP) {
            self->m_handler(message);
            return 1;
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }

    std::function<void(UINT)> m_handler;
    HWND m_window = nullptr;
};

// A manual-reset event that a worker may still hold after the test has stopped waiting for it.
std::shared_ptr<void> SharedEvent()
{
    return std::shared_ptr<void>(::CreateEventW(nullptr, TRUE, FALSE, nullptr), [](void* event) {
        if (event)
            ::CloseHandle(event);
    });
}

// Drops whatever a test left in this thread's queue (a quit message above all).
void EmptyQueue()
{
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

TEST(PumpingWait, RunsTheWorkOnAnotherThreadWithCom)
{
    const DWORD caller = ::GetCurrentThreadId();
    DWORD worker = caller;
    HRESULT com = E_FAIL;
    const PumpedWork done = RunWhilePumping(
        [&] {
            worker = ::GetCurrentThreadId();
            // S_FALSE: the thread already is in the multithreaded apartment.
            com = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
            if (SUCCEEDED(com))
                ::CoUninitialize();
            return false;
        },
        kNoLimit, nullptr);
    EXPECT_EQ(done.end, PumpedWork::End::Finished);
    EXPECT_EQ(done.result, std::optional<bool>(false));
    EXPECT_NE(worker, caller);
    EXPECT_EQ(com, S_FALSE);
}

TEST(PumpingWait, PostedAndSentMessagesAreAnsweredWhileTheWorkRuns)
{
    HANDLE posted = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(posted, nullptr);
    TestWindow window([&](UINT message) {
        if (message == kPoke)
            ::SetEvent(posted);
    });
    ASSERT_NE(window.Get(), nullptr);

    DWORD postedWait = WAIT_TIMEOUT;
    LRESULT sentAnswer = 0;
    const PumpedWork done = RunWhilePumping(
        [&] {
            ::PostMessageW(window.Get(), kPoke, 0, 0);
            postedWait = ::WaitForSingleObject(posted, kPatienceMs);
            // Low-level hooks reach their thread the way a sent message does.
            DWORD_PTR answer = 0;
            if (::SendMessageTimeoutW(window.Get(), kPoke + 1, 0, 0, SMTO_NORMAL, kPatienceMs, &answer))
                sentAnswer = static_cast<LRESULT>(answer);
            return true;
        },
        kNoLimit, nullptr);
    ::CloseHandle(posted);
    EXPECT_EQ(done.end, PumpedWork::End::Finished);
    EXPECT_EQ(postedWait, WAIT_OBJECT_0);
    EXPECT_EQ(sentAnswer, 1);
}

// The main dialog's keys (Tab, Enter) work only through its filter, as in the program's own loop.
TEST(PumpingWait, EachMessageMeetsTheCallersFilterFirst)
{
    const std::shared_ptr<void> bothSeen = SharedEvent();
    int reachedWindow = 0;
    TestWindow window([&](UINT message) {
        if (message == kPoke)
            ++reachedWindow;
    });
    int filtered = 0;
    const threads::MessageFilter filter = [&](MSG& message) {
        if (message.message != kPoke)
            return false;
        if (++filtered == 2)
            ::SetEvent(bothSeen.get());
        return message.wParam == 1;  // consumed: not dispatched
    };
    const HWND target = window.Get();
    const PumpedWork done = RunWhilePumping(
        [target, bothSeen] {
            ::PostMessageW(target, kPoke, 1, 0);
            ::PostMessageW(target, kPoke, 2, 0);
            return ::WaitForSingleObject(bothSeen.get(), kPatienceMs) == WAIT_OBJECT_0;
        },
        kNoLimit, filter);
    EXPECT_EQ(done.end, PumpedWork::End::Finished);
    EXPECT_EQ(done.result, std::optional<bool>(true));
    EXPECT_EQ(filtered, 2);
    EXPECT_EQ(reachedWindow, 1);
    EmptyQueue();
}

// Exit during a check that waits for a silent server: the wait ends at once, the quit goes on to
// the caller's loop, and the check ends by itself later.
using QuitDuringCheckTest = updatetest::UpdateSettingsTest;

TEST_F(QuitDuringCheckTest, TheWaitEndsAtOnceAndTheQuitGoesOn)
{
    testsupport::LocalHttpServer server(updatetest::SilentReply());
    ASSERT_TRUE(server.IsListening());
    const std::u16string url = server.Url("/tools/VocabraUpdate.xml");

    Clock::time_point quitAt;
    TestWindow window([&](UINT message) {
        if (message == kPoke) {
            quitAt = Clock::now();
            ::PostQuitMessage(3);
        }
    });
    // The window asks to quit once the request has reached the server.
    std::thread announcer([&] {
        if (server.WaitForGet("/tools/VocabraUpdate.xml", 10s))
            ::PostMessageW(window.Get(), kPoke, 0, 0);
    });
    const int before = threads::BackgroundTask::AbandonedAndRunning();
    const PumpedWork done = RunWhilePumping(
        [url] { return update::CheckForUpdate(true, url, update::CurrentTime(), std::chrono::seconds(2)); }, kNoLimit,
        nullptr);
    const auto returned = Clock::now();
    announcer.join();

    ASSERT_EQ(done.end, PumpedWork::End::Quit);
    EXPECT_LT(returned - quitAt, 2s);
    EXPECT_EQ(threads::BackgroundTask::AbandonedAndRunning(), before + 1);
    MSG message{};
    ASSERT_TRUE(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 3u);
    EmptyQueue();
    // The abandoned check meets its own time limit.
    EXPECT_TRUE(testsupport::Eventually([&] { return threads::BackgroundTask::AbandonedAndRunning() == before; }, 15s));
}

TEST(PumpingWait, TheLimitEndsTheWait)
{
    const std::shared_ptr<void> release = SharedEvent();
    const auto start = Clock::now();
    const PumpedWork done = RunWhilePumping(
        [release] {
            ::WaitForSingleObject(release.get(), 10000);
            return false;
        },
        500ms, nullptr);
    const auto waited = Clock::now() - start;
    ::SetEvent(release.get());
    EXPECT_EQ(done.end, PumpedWork::End::TimedOut);
    EXPECT_GE(waited, 450ms);
    EXPECT_LT(waited, 3s);
}

OfferSteps Steps(std::function<bool()> check, std::function<void(HWND__*)> ask)
{
    OfferSteps steps;
    steps.due = [] { return true; };
    steps.check = std::move(check);
    steps.ask = std::move(ask);
    steps.limit = kNoLimit;
    return steps;
}

TEST(UpdateOffer, AsksOnlyWhenTheCheckFindsAnotherVersion)
{
    TestWindow owner([](UINT) {});
    int asked = 0;
    HWND askedOwner = nullptr;
    const auto ask = [&](HWND__* window) {
        ++asked;
        askedOwner = window;
    };

    EXPECT_EQ(RunUpdateOffer(owner.Get(), Steps([] { return true; }, ask)), OfferOutcome::NothingToOffer);
    EXPECT_EQ(asked, 0);

    EXPECT_EQ(RunUpdateOffer(owner.Get(), Steps([] { return false; }, ask)), OfferOutcome::Asked);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(askedOwner, owner.Get());

    // A check that fails by throwing offers nothing.
    EXPECT_EQ(RunUpdateOffer(owner.Get(), Steps([]() -> bool { throw 1; }, ask)), OfferOutcome::NothingToOffer);
    EXPECT_EQ(asked, 1);
}

// Most translations come when no check is due: that is learnt on the spot, with no thread.
TEST(UpdateOffer, NoThreadWhenNoCheckIsDue)
{
    int checks = 0;
    int asked = 0;
    OfferSteps steps = Steps([&] { return ++checks, false; }, [&](HWND__*) { ++asked; });
    steps.due = [] { return false; };
    EXPECT_EQ(RunUpdateOffer(nullptr, steps), OfferOutcome::NotDue);
    EXPECT_EQ(checks, 0);
    EXPECT_EQ(asked, 0);
}

TEST(UpdateOffer, ATranslationDuringTheCheckStartsNoSecondCheck)
{
    HANDLE nestedDone = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(nestedDone, nullptr);
    int innerChecks = 0;
    int asked = 0;
    OfferOutcome nested = OfferOutcome::Asked;
    const auto ask = [&](HWND__*) { ++asked; };
    // The window stands for the main dialog: a message dispatched during the wait translates
    // again and so offers again.
    TestWindow dialog([&](UINT message) {
        if (message != kPoke)
            return;
        nested = RunUpdateOffer(nullptr, Steps([&] { return ++innerChecks, false; }, ask));
        ::SetEvent(nestedDone);
    });

    const OfferOutcome outer = RunUpdateOffer(dialog.Get(), Steps(
                                                                [&] {
                                                                    ::PostMessageW(dialog.Get(), kPoke, 0, 0);
                                                                    ::WaitForSingleObject(nestedDone, kPatienceMs);
                                                                    return false;
                                                                },
                                                                ask));
    ::CloseHandle(nestedDone);

    EXPECT_EQ(nested, OfferOutcome::AlreadyRunning);
    EXPECT_EQ(innerChecks, 0);
    EXPECT_EQ(outer, OfferOutcome::Asked);
    EXPECT_EQ(asked, 1);
    // Once over, the next translation offers again.
    EXPECT_EQ(RunUpdateOffer(nullptr, Steps([] { return false; }, ask)), OfferOutcome::Asked);
    EXPECT_EQ(asked, 2);
}

TEST(UpdateOffer, NoQuestionWhenTheOwnerGoesTheProgramQuitsOrTheCheckOverruns)
{
    int asked = 0;
    const auto ask = [&](HWND__*) { ++asked; };

    HWND gone = nullptr;
    {
        TestWindow owner([](UINT) {});
        gone = owner.Get();
        EXPECT_EQ(RunUpdateOffer(gone, Steps(
                                           [gone] {
                                               ::PostMessageW(gone, WM_CLOSE, 0, 0);  // DefWindowProc destroys it
                                               testsupport::Eventually([gone] { return !::IsWindow(gone); }, 5s);
                                               return false;
                                           },
                                           ask)),
                  OfferOutcome::Interrupted);
    }
    EXPECT_FALSE(::IsWindow(gone));

    // The quit is in the queue before the check returns: the waiting thread takes it first.
    const std::shared_ptr<void> quitPosted = SharedEvent();
    TestWindow exiting([quitPosted](UINT message) {
        if (message == kPoke) {
            ::PostQuitMessage(0);
            ::SetEvent(quitPosted.get());
        }
    });
    const HWND exitingWindow = exiting.Get();
    EXPECT_EQ(RunUpdateOffer(exitingWindow, Steps(
                                                [exitingWindow, quitPosted] {
                                                    ::PostMessageW(exitingWindow, kPoke, 0, 0);
                                                    ::WaitForSingleObject(quitPosted.get(), kPatienceMs);
                                                    return false;
                                                },
                                                ask)),
              OfferOutcome::Interrupted);
    EmptyQueue();

    const std::shared_ptr<void> release = SharedEvent();
    OfferSteps slow = Steps(
        [release] {
            ::WaitForSingleObject(release.get(), 10000);
            return false;
        },
        ask);
    slow.limit = 300ms;
    EXPECT_EQ(RunUpdateOffer(nullptr, slow), OfferOutcome::TimedOut);
    ::SetEvent(release.get());
    EXPECT_EQ(asked, 0);
}

}  // namespace
