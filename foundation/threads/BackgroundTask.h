#pragma once
// Work on a thread of its own that the caller may stop waiting for at any moment. The thread owns
// everything it uses, so a caller that abandons it (the program quits, or the work overruns its
// time) leaves nothing behind that the thread could still touch.

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace threads {

class BackgroundTask {
public:
    // Starts `work` on a new thread. `finished` runs on that thread once `work` has returned or
    // thrown, after the result is in place (a waiting message loop uses it to wake up).
    explicit BackgroundTask(std::function<bool()> work, std::function<void()> finished = {});
    // Waits for nothing: a task still running is abandoned and ends by itself.
    ~BackgroundTask();
    BackgroundTask(const BackgroundTask&) = delete;
    BackgroundTask& operator=(const BackgroundTask&) = delete;

    // False when no thread could be started (the work does not run).
    bool Started() const;
    bool Finished() const;
    // True once finished, waiting up to `timeout` for it.
    bool WaitFor(std::chrono::milliseconds timeout) const;
    // The work's answer once finished; none while it runs or when it threw.
    std::optional<bool> Result() const;

    // Abandoned tasks whose work has not ended yet. A program that ends while one runs must not
    // destroy its static objects under that thread's feet.
    static int AbandonedAndRunning();

private:
    struct State;
    std::shared_ptr<State> m_state;
};

}  // namespace threads
