#pragma once
// Writes the lookup history to its file on a thread of its own, so that a translation never waits
// for the disk. Saves that come faster than the disk are merged: the newest entries are written.

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "foundation/threads/BackgroundTask.h"
#include "tray/LookupHistory.h"

namespace tray {

class HistorySaver {
public:
    // An empty path (no profile folder) saves nothing.
    explicit HistorySaver(std::string path);
    // Gives the last write a moment to finish; a disk that takes longer is left to it.
    ~HistorySaver();
    HistorySaver(const HistorySaver&) = delete;
    HistorySaver& operator=(const HistorySaver&) = delete;

    const std::string& Path() const;
    // Returns at once; the entries are written after any write in progress.
    void Save(std::vector<HistoryEntry> entries);
    // True once every save asked for has been written (or has failed), waiting up to `limit`.
    bool WaitUntilWritten(std::chrono::milliseconds limit);

private:
    struct State;
    std::shared_ptr<State> m_state;
    std::unique_ptr<threads::BackgroundTask> m_writer;
};

// The history in the saver's file, to be kept through it from now on.
KeptHistory LoadKeptHistory(HistorySaver& saver);

}  // namespace tray
