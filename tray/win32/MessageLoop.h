#pragma once
// The main thread's message loop, with the hooks that windows register on it: message filters
// (offered every message before it is dispatched) and idle handlers (called when the queue has
// run empty).

#include <windows.h>

#include <vector>

#include "foundation/threads/MessagePump_win32.h"

namespace tray::win32 {

class CMessageFilter {
public:
    // True when the message was consumed and must not be dispatched.
    virtual bool PreTranslateMessage(MSG& message) = 0;

protected:
    ~CMessageFilter() = default;
};

class CIdleHandler {
public:
    // True when more idle calls are wanted (the loop makes one pass either way).
    virtual bool OnIdle() = 0;

protected:
    ~CIdleHandler() = default;
};

class CMessageLoop {
public:
    void AddMessageFilter(CMessageFilter* filter);
    void RemoveMessageFilter(CMessageFilter* filter);
    void AddIdleHandler(CIdleHandler* handler);
    void RemoveIdleHandler(CIdleHandler* handler);

    // Runs until the quit message; returns its value.
    int Run();
    // Offers the message to the filters, newest first; true when one consumed it. Loops that run
    // inside a handler use it too, so that the dialogs keep their keys.
    bool PreTranslate(MSG& message);

    // The loop registered for the calling thread, or null (see MessageLoopRegistration).
    static CMessageLoop* ForCurrentThread();

private:
    void RunIdleHandlers();

    std::vector<CMessageFilter*> m_filters;
    std::vector<CIdleHandler*> m_idleHandlers;
};

// Makes a loop the calling thread's for the lifetime of this object; waits that pump messages
// on the thread meanwhile offer them to its filters.
class MessageLoopRegistration {
public:
    explicit MessageLoopRegistration(CMessageLoop& loop);
    ~MessageLoopRegistration();
    MessageLoopRegistration(const MessageLoopRegistration&) = delete;
    MessageLoopRegistration& operator=(const MessageLoopRegistration&) = delete;

private:
    CMessageLoop* m_previous;
    threads::ThreadMessageFilterScope m_filter;
};

}  // namespace tray::win32
