#include "tray/HistorySaver.h"

#include <condition_variable>
#include <mutex>
#include <optional>
#include <utility>

#include "tray/HistoryFile.h"

namespace tray {
namespace {
constexpr std::chrono::milliseconds kExitWait{2000};
}  // namespace

// Shared with the writer thread, which may outlive the saver when the disk hangs at exit.
struct HistorySaver::State {
    std::string path;
    std::mutex lock;
    std::condition_variable idle;
    std::optional<std::vector<HistoryEntry>> pending;
    bool writing = false;
};

HistorySaver::HistorySaver(std::string path) : m_state(std::make_shared<State>())
{
    m_state->path = std::move(path);
}

HistorySaver::~HistorySaver()
{
    WaitUntilWritten(kExitWait);
}

const std::string& HistorySaver::Path() const
{
    return m_state->path;
}

void HistorySaver::Save(std::vector<HistoryEntry> entries)
{
    if (m_state->path.empty())
        return;
    {
        const std::lock_guard<std::mutex> hold(m_state->lock);
        m_state->pending = std::move(entries);
        if (m_state->writing)
            return;  // the running writer takes them next
        m_state->writing = true;
    }
    // The previous writer has left its loop (writing was false): replacing it only joins it.
    m_writer = std::make_unique<threads::BackgroundTask>([state = m_state] {
        for (;;) {
            std::vector<HistoryEntry> entries;
            {
                const std::lock_guard<std::mutex> hold(state->lock);
                if (!state->pending) {
                    state->writing = false;
                    state->idle.notify_all();
                    return true;
                }
                entries = std::move(*state->pending);
                state->pending.reset();
            }
            try {
                SaveHistory(state->path, entries);
            } catch (...) {
                // Out of memory while writing: the next save tries again, and the loop must go on
                // to clear `writing`.
            }
        }
    });
    if (!m_writer->Started()) {
        // No thread to be had: written here rather than lost.
        const std::lock_guard<std::mutex> hold(m_state->lock);
        if (m_state->pending)
            SaveHistory(m_state->path, *m_state->pending);
        m_state->pending.reset();
        m_state->writing = false;
    }
}

bool HistorySaver::WaitUntilWritten(std::chrono::milliseconds limit)
{
    std::unique_lock<std::mutex> hold(m_state->lock);
    return m_state->idle.wait_for(hold, limit, [this] { return !m_state->writing; });
}

KeptHistory LoadKeptHistory(HistorySaver& saver)
{
    return {LoadHistory(saver.Path()), [&saver](const std::vector<HistoryEntry>& entries) { saver.Save(entries); }};
}

}  // namespace tray
