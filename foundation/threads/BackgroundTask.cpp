#include "foundation/threads/BackgroundTask.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace threads {
namespace {
// Plain atomic: an abandoned thread may decrement it while the program is ending.
std::atomic<int> g_abandonedAndRunning{0};
}  // namespace

struct BackgroundTask::State {
    std::mutex lock;
    std::condition_variable changed;
    bool finished = false;
    bool abandoned = false;
    std::optional<bool> result;
    std::thread thread;
};

BackgroundTask::BackgroundTask(std::function<bool()> work, std::function<void()> finished)
    : m_state(std::make_shared<State>())
{
    try {
        m_state->thread = std::thread([state = m_state, work = std::move(work), finished = std::move(finished)] {
            std::optional<bool> result;
            try {
                result = work();
            } catch (...) {
            }
            {
                const std::lock_guard<std::mutex> hold(state->lock);
                state->result = result;
                state->finished = true;
                if (state->abandoned)
                    --g_abandonedAndRunning;
            }
            state->changed.notify_all();
            if (finished)
                finished();
        });
    } catch (const std::system_error&) {
    }
}

BackgroundTask::~BackgroundTask()
{
    if (!m_state->thread.joinable())
        return;
    bool running = false;
    {
        const std::lock_guard<std::mutex> hold(m_state->lock);
        running = !m_state->finished;
        if (running) {
            m_state->abandoned = true;
            ++g_abandonedAndRunning;
        }
    }
    if (running)
        m_state->thread.detach();
    else
        m_state->thread.join();  // only its last steps are left
}

bool BackgroundTask::Started() const
{
    return m_state->thread.joinable();
}

bool BackgroundTask::Finished() const
{
    const std::lock_guard<std::mutex> hold(m_state->lock);
    return m_state->finished;
}

bool BackgroundTask::WaitFor(std::chrono::milliseconds timeout) const
{
    if (!Started())
        return false;
    std::unique_lock<std::mutex> hold(m_state->lock);
    return m_state->changed.wait_for(hold, timeout, [this] { return m_state->finished; });
}

std::optional<bool> BackgroundTask::Result() const
{
    const std::lock_guard<std::mutex> hold(m_state->lock);
    return m_state->finished ? m_state->result : std::nullopt;
}

int BackgroundTask::AbandonedAndRunning()
{
    return g_abandonedAndRunning;
}

}  // namespace threads
