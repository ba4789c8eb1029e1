#pragma once
// Waits that keep the calling thread's messages moving: its windows stay responsive, a keyboard
// hook on it keeps answering, and COM calls into its apartment are served meanwhile.

#include <chrono>
#include <functional>

struct tagMSG;

namespace threads {

// Offered each message before it is dispatched, as the caller's own message loop would; true
// when it consumed the message.
using MessageFilter = std::function<bool(tagMSG&)>;

// The filter of the message loop that runs on the calling thread (see ThreadMessageFilterScope);
// none when no loop registered one. Loops that run inside a handler pass it on, so that the
// dialogs keep their keys while they wait.
const MessageFilter& ThreadMessageFilter();

// Makes `filter` the calling thread's for the lifetime of this object.
class ThreadMessageFilterScope {
public:
    explicit ThreadMessageFilterScope(MessageFilter filter);
    ~ThreadMessageFilterScope();
    ThreadMessageFilterScope(const ThreadMessageFilterScope&) = delete;
    ThreadMessageFilterScope& operator=(const ThreadMessageFilterScope&) = delete;

private:
    MessageFilter m_previous;
};

// Dispatches what is waiting, each message offered to `filter` first; false once the quit
// message has come (it is not dispatched; its code is in `quitCode`).
bool DispatchWaitingMessages(const MessageFilter& filter, int& quitCode);

enum class PumpEnd {
    Signalled,  // `handle` was signalled
    Quit,       // the quit message came; it has been posted again for the caller's loop
    TimedOut,   // `limit` passed first
    Failed,     // the wait itself failed (a handle that is no longer valid)
};

// Dispatches the thread's messages until `handle` (may be null: none) is signalled, the quit
// message comes, or `limit` passes; milliseconds::max() waits without limit.
PumpEnd PumpUntilSignalled(void* handle, std::chrono::milliseconds limit, const MessageFilter& filter);

}  // namespace threads
