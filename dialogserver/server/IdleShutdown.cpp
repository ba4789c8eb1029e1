#include "dialogserver/server/IdleShutdown.h"

#include <system_error>

namespace dialogserver {

IdleShutdown::IdleShutdown(bool delayed, std::chrono::milliseconds idle, std::function<void()> quit)
    : m_delayed(delayed), m_idle(idle), m_quit(std::move(quit))
{
    if (!m_delayed)
        return;
    try {
        m_monitor = std::thread([this] { Monitor(); });
    } catch (const std::system_error&) {
    }
}

IdleShutdown::~IdleShutdown()
{
    {
        const std::lock_guard<std::mutex> hold(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    if (m_monitor.joinable())
        m_monitor.join();
}

long IdleShutdown::Lock()
{
    const std::lock_guard<std::mutex> hold(m_mutex);
    return ++m_count;
}

long IdleShutdown::Unlock()
{
    long count = 0;
    {
        const std::lock_guard<std::mutex> hold(m_mutex);
        count = --m_count;
        if (count == 0 && m_delayed) {
            m_activity = true;
            m_signalled = true;
        }
    }
    if (count == 0) {
        if (m_delayed)
            m_wake.notify_all();
        else
            m_quit();
    }
    return count;
}

long IdleShutdown::Count() const
{
    const std::lock_guard<std::mutex> hold(m_mutex);
    return m_count;
}

// Waits for the count to reach 0, then for a quiet spell of the idle time; every new unlock to
// 0 starts the spell again. Quits only if nothing happened in the spell and no lock is held, then
// waits for the next unlock to 0, in case the server declined.
void IdleShutdown::Monitor()
{
    std::unique_lock<std::mutex> hold(m_mutex);
    for (;;) {
        m_wake.wait(hold, [this] { return m_signalled || m_stopping; });
        if (m_stopping)
            return;
        m_signalled = false;
        for (;;) {
            m_activity = false;
            const bool woken = m_wake.wait_for(hold, m_idle, [this] { return m_signalled || m_stopping; });
            if (m_stopping)
                return;
            if (woken) {
                m_signalled = false;
                continue;
            }
            if (!m_activity && m_count == 0) {
                hold.unlock();
                m_quit();
                hold.lock();
            }
            break;
        }
    }
}

}  // namespace dialogserver
