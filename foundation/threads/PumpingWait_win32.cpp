#include "foundation/threads/PumpingWait_win32.h"

#include <windows.h>

#include <algorithm>
#include <memory>

#include "foundation/win32api/ComApartment_win32.h"
#include "foundation/win32api/Handles.h"
#include "foundation/threads/BackgroundTask.h"

namespace threads {
namespace {
// Dispatches what is waiting; false once the quit message has come (it is not dispatched).
bool DispatchWaiting(const MessageFilter& filter, int& quitCode)
{
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quitCode = static_cast<int>(message.wParam);
            return false;
        }
        if (filter && filter(message))
            continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return true;
}
}  // namespace

PumpedWork RunWhilePumping(std::function<bool()> work, std::chrono::milliseconds limit, const MessageFilter& filter)
{
    // Signalled by the worker when it ends; shared with it, since an abandoned worker outlives
    // this call.
    auto done = std::make_shared<Win32::API::Event>();
    bool existed = false;
    if (!done->Create(nullptr, existed, true, false))
        return {};
    const BackgroundTask task(
        [work = std::move(work)] {
            // The update check reads its document with MSXML, a COM object.
            const Win32::API::ComApartment com(COINIT_MULTITHREADED);
            return work();
        },
        [done] { ::SetEvent(done->Get()); });
    if (!task.Started())
        return {};

    const auto deadline = std::chrono::steady_clock::now() + limit;
    HANDLE handle = done->Get();
    int quitCode = 0;
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return {PumpedWork::End::TimedOut, std::nullopt};
        const auto wait = static_cast<DWORD>(std::min<long long>(left.count(), INFINITE - 1));
        const DWORD woke = ::MsgWaitForMultipleObjectsEx(1, &handle, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woke == WAIT_OBJECT_0 || (woke == WAIT_FAILED && task.WaitFor(left)))
            return {PumpedWork::End::Finished, task.Result()};
        if (woke == WAIT_FAILED)
            return {PumpedWork::End::TimedOut, std::nullopt};
        if (woke != WAIT_TIMEOUT && !DispatchWaiting(filter, quitCode)) {
            ::PostQuitMessage(quitCode);
            return {PumpedWork::End::Quit, std::nullopt};
        }
    }
}

}  // namespace threads
