#pragma once
// Shows the wait cursor for its lifetime and puts the previous one back.

namespace update {

class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();  // NOLINT(performance-trivially-destructible): the Windows twin restores the cursor
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    // The POSIX twin shows no cursor and keeps nothing here.
    [[maybe_unused]] void* m_previous = nullptr;
};

}  // namespace update
