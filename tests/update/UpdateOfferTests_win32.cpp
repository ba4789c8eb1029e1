// The update offer runs its check off the main thread, which keeps dispatching: the low-level
// keyboard hook and the windows of the tray program must keep answering during a slow check.
#include <windows.h>

#include <objbase.h>

#include <functional>

#include <gtest/gtest.h>

#include "update/PumpingWait_win32.h"
#include "update/UpdateOffer.h"

namespace {
using update::OfferOutcome;
using update::RunUpdateOffer;
using update::RunWhilePumping;

constexpr UINT kPoke = WM_APP + 1;
constexpr DWORD kPatienceMs = 5000;

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
    bool quit = true;
    ASSERT_TRUE(RunWhilePumping(
        [&] {
            worker = ::GetCurrentThreadId();
            // S_FALSE: the thread already is in the multithreaded apartment.
            com = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
            if (SUCCEEDED(com))
                ::CoUninitialize();
        },
        quit));
    EXPECT_NE(worker, caller);
    EXPECT_EQ(com, S_FALSE);
    EXPECT_FALSE(quit);
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
    bool quit = false;
    ASSERT_TRUE(RunWhilePumping(
        [&] {
            ::PostMessageW(window.Get(), kPoke, 0, 0);
            postedWait = ::WaitForSingleObject(posted, kPatienceMs);
            // Low-level hooks reach their thread the way a sent message does.
            DWORD_PTR answer = 0;
            if (::SendMessageTimeoutW(window.Get(), kPoke + 1, 0, 0, SMTO_NORMAL, kPatienceMs, &answer))
                sentAnswer = static_cast<LRESULT>(answer);
        },
        quit));
    ::CloseHandle(posted);
    EXPECT_EQ(postedWait, WAIT_OBJECT_0);
    EXPECT_EQ(sentAnswer, 1);
}

TEST(PumpingWait, AQuitMessageEndsTheDispatchingAndIsPostedAgain)
{
    HANDLE quitting = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(quitting, nullptr);
    int latePokes = 0;
    TestWindow window([&](UINT message) {
        if (message == kPoke) {
            ::PostQuitMessage(7);
            ::SetEvent(quitting);
        } else {
            ++latePokes;
        }
    });

    bool quit = false;
    ASSERT_TRUE(RunWhilePumping(
        [&] {
            ::PostMessageW(window.Get(), kPoke, 0, 0);
            ::WaitForSingleObject(quitting, kPatienceMs);
            ::Sleep(200);  // the waiting thread takes the quit message meanwhile
            ::PostMessageW(window.Get(), kPoke + 1, 0, 0);
            ::Sleep(200);  // time enough to dispatch this, were the wait still dispatching
        },
        quit));
    ::CloseHandle(quitting);
    EXPECT_TRUE(quit);
    EXPECT_EQ(latePokes, 0);

    // The caller's own loop still sees the quit, after what was queued before it.
    MSG message{};
    ASSERT_TRUE(::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, kPoke + 1);
    ::DispatchMessageW(&message);
    ASSERT_TRUE(::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 7u);
    EmptyQueue();
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

    EXPECT_EQ(RunUpdateOffer(
                  owner.Get(), [] { return true; }, ask),
              OfferOutcome::NothingToOffer);
    EXPECT_EQ(asked, 0);

    EXPECT_EQ(RunUpdateOffer(
                  owner.Get(), [] { return false; }, ask),
              OfferOutcome::Asked);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(askedOwner, owner.Get());

    // A check that fails by throwing offers nothing.
    EXPECT_EQ(RunUpdateOffer(
                  owner.Get(), []() -> bool { throw 1; }, ask),
              OfferOutcome::NothingToOffer);
    EXPECT_EQ(asked, 1);
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
        nested = RunUpdateOffer(
            nullptr, [&] { return ++innerChecks, false; }, ask);
        ::SetEvent(nestedDone);
    });

    const OfferOutcome outer = RunUpdateOffer(
        dialog.Get(),
        [&] {
            ::PostMessageW(dialog.Get(), kPoke, 0, 0);
            ::WaitForSingleObject(nestedDone, kPatienceMs);
            return false;
        },
        ask);
    ::CloseHandle(nestedDone);

    EXPECT_EQ(nested, OfferOutcome::AlreadyRunning);
    EXPECT_EQ(innerChecks, 0);
    EXPECT_EQ(outer, OfferOutcome::Asked);
    EXPECT_EQ(asked, 1);
    // Once over, the next translation offers again.
    EXPECT_EQ(RunUpdateOffer(
                  nullptr, [] { return false; }, ask),
              OfferOutcome::Asked);
    EXPECT_EQ(asked, 2);
}

TEST(UpdateOffer, NoQuestionWhenTheOwnerGoesOrTheProgramQuitsDuringTheCheck)
{
    int asked = 0;
    const auto ask = [&](HWND__*) { ++asked; };

    HWND gone = nullptr;
    {
        TestWindow owner([](UINT) {});
        gone = owner.Get();
        EXPECT_EQ(RunUpdateOffer(
                      gone,
                      [&] {
                          ::PostMessageW(gone, WM_CLOSE, 0, 0);  // DefWindowProc destroys it
                          for (int i = 0; i < 50 && ::IsWindow(gone); ++i)
                              ::Sleep(20);
                          return false;
                      },
                      ask),
                  OfferOutcome::Interrupted);
    }
    EXPECT_FALSE(::IsWindow(gone));

    TestWindow exiting([](UINT message) {
        if (message == kPoke)
            ::PostQuitMessage(0);
    });
    EXPECT_EQ(RunUpdateOffer(
                  exiting.Get(),
                  [&] {
                      ::PostMessageW(exiting.Get(), kPoke, 0, 0);
                      ::Sleep(300);
                      return false;
                  },
                  ask),
              OfferOutcome::Interrupted);
    EXPECT_EQ(asked, 0);
    EmptyQueue();
}

}  // namespace
