#pragma once
// A walk over the processes that ran when the snapshot was taken.

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/win32api/Handles.h"

class ProcessSnapshot : public Win32::API::Handle {
public:
    // Takes the snapshot and reads the first entry.
    ProcessSnapshot();

    // Whether the current entry is valid.
    bool Valid() const { return m_valid; }
    // Moves to the next entry; false (and Valid() false) at the end.
    bool Next();

    // The current entry: the executable's file name (no folder) and the process id.
    const std::u16string& ExeFile() const { return m_exeFile; }
    std::uint32_t ProcessId() const { return m_processId; }

private:
    bool m_valid = false;
    std::u16string m_exeFile;
    std::uint32_t m_processId = 0;
    std::vector<std::uint32_t> m_pendingIds;  // POSIX: the ids not visited yet
};
