#include "foundation/threads/MessagePump_win32.h"

#include <windows.h>

#include <algorithm>

namespace threads {
namespace {
thread_local MessageFilter t_filter;
}  // namespace

const MessageFilter& ThreadMessageFilter()
{
    return t_filter;
}

ThreadMessageFilterScope::ThreadMessageFilterScope(MessageFilter filter) : m_previous(std::move(t_filter))
{
    t_filter = std::move(filter);
}

ThreadMessageFilterScope::~ThreadMessageFilterScope()
{
    t_filter = std::move(m_previous);
}

bool DispatchWaitingMessages(const MessageFilter& filter, int& quitCode)
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

PumpEnd PumpUntilSignalled(void* handle, std::chrono::milliseconds limit, const MessageFilter& filter)
{
    const bool unlimited = limit == std::chrono::milliseconds::max();
    const auto deadline =
        unlimited ? std::chrono::steady_clock::time_point::max() : std::chrono::steady_clock::now() + limit;
    HANDLE handles[] = {handle};
    const DWORD count = handle ? 1 : 0;
    for (;;) {
        DWORD wait = INFINITE;
        if (!unlimited) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                return PumpEnd::TimedOut;
            wait = static_cast<DWORD>(std::min<long long>(left.count(), INFINITE - 1));
        }
        const DWORD woke = ::MsgWaitForMultipleObjectsEx(count, handles, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (count && woke == WAIT_OBJECT_0)
            return PumpEnd::Signalled;
        if (woke == WAIT_FAILED)
            return PumpEnd::Failed;
        int quitCode = 0;
        if (woke != WAIT_TIMEOUT && !DispatchWaitingMessages(filter, quitCode)) {
            ::PostQuitMessage(quitCode);
            return PumpEnd::Quit;
        }
    }
}

}  // namespace threads
