#pragma once
// The server's lock count and its end when idle: each dialog object and each LockServer(TRUE)
// holds a lock; when the last goes (or none has come since the start), the server is asked to
// quit once no lock has come back for the idle time. A monitor thread does the waiting, so that
// the main thread only counts. The server may still decline, when a lock came meanwhile: the next
// last unlock starts the wait again.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace dialogserver {

class IdleShutdown {
public:
    // With `delayed`, `quit` is called on the monitor thread `idle` after the start, or after the
    // count last fell to 0 (a lock taken meanwhile cancels it); without, at once, on the thread
    // that unlocked.
    IdleShutdown(bool delayed, std::chrono::milliseconds idle, std::function<void()> quit);
    // Stops the monitor; `quit` is not called afterwards.
    ~IdleShutdown();
    IdleShutdown(const IdleShutdown&) = delete;
    IdleShutdown& operator=(const IdleShutdown&) = delete;

    // False when the monitor thread could not be started.
    bool Started() const { return !m_delayed || m_monitor.joinable(); }

    long Lock();
    long Unlock();
    long Count() const;

private:
    void Monitor();

    const bool m_delayed;
    const std::chrono::milliseconds m_idle;
    const std::function<void()> m_quit;

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    long m_count = 0;
    bool m_signalled = true;  // an unlock to 0 (or the start) since the monitor last looked
    bool m_activity = false;  // the count reached 0 again while the monitor waited
    bool m_stopping = false;
    std::thread m_monitor;
};

}  // namespace dialogserver
