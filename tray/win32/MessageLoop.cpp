#include "tray/win32/MessageLoop.h"

#include <algorithm>

namespace tray::win32 {
namespace {
thread_local CMessageLoop* t_currentLoop = nullptr;

template <class T>
void Remove(std::vector<T*>& list, T* item)
{
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

// False for messages that arrive in streams and leave no idle work behind them.
bool ResumesIdle(const MSG& message)
{
    switch (message.message) {
        case WM_MOUSEMOVE:
        case WM_NCMOUSEMOVE:
        case WM_PAINT:
        case 0x0118:  // WM_SYSTIMER: the caret's blink
            return false;
        default:
            return true;
    }
}
}  // namespace

void CMessageLoop::AddMessageFilter(CMessageFilter* filter)
{
    m_filters.push_back(filter);
}

void CMessageLoop::RemoveMessageFilter(CMessageFilter* filter)
{
    Remove(m_filters, filter);
}

void CMessageLoop::AddIdleHandler(CIdleHandler* handler)
{
    m_idleHandlers.push_back(handler);
}

void CMessageLoop::RemoveIdleHandler(CIdleHandler* handler)
{
    Remove(m_idleHandlers, handler);
}

int CMessageLoop::Run()
{
    bool idle = true;
    MSG message{};
    for (;;) {
        if (idle && !::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            RunIdleHandlers();
            idle = false;  // one pass of idle calls per empty queue
        }
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == -1)
            continue;
        if (got == 0)
            return static_cast<int>(message.wParam);
        if (!PreTranslate(message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        if (ResumesIdle(message))
            idle = true;
    }
}

bool CMessageLoop::PreTranslate(MSG& message)
{
    // A filter may remove itself (or another) while it runs: the dialog's filter dispatches the
    // dialog's messages, Exit among them. Walk a copy, newest first.
    const std::vector<CMessageFilter*> filters = m_filters;
    for (auto it = filters.rbegin(); it != filters.rend(); ++it) {
        if (std::find(m_filters.begin(), m_filters.end(), *it) != m_filters.end() &&
            (*it)->PreTranslateMessage(message))
            return true;
    }
    return false;
}

void CMessageLoop::RunIdleHandlers()
{
    const std::vector<CIdleHandler*> handlers = m_idleHandlers;
    for (CIdleHandler* handler : handlers) {
        if (std::find(m_idleHandlers.begin(), m_idleHandlers.end(), handler) != m_idleHandlers.end())
            handler->OnIdle();
    }
}

CMessageLoop* CMessageLoop::ForCurrentThread()
{
    return t_currentLoop;
}

MessageLoopRegistration::MessageLoopRegistration(CMessageLoop& loop)
    : m_previous(t_currentLoop), m_filter([&loop](MSG& message) { return loop.PreTranslate(message); })
{
    t_currentLoop = &loop;
}

MessageLoopRegistration::~MessageLoopRegistration()
{
    t_currentLoop = m_previous;
}

}  // namespace tray::win32
