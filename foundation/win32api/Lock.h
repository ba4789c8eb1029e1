#pragma once
// The one synchronisation object of the foundation: a recursive lock, used through ScopedLock.

#include <cstddef>

namespace Win32::API {

class Lockable {
public:
    virtual void Lock() = 0;
    virtual void Unlock() = 0;
    virtual ~Lockable() = default;
};

// A system critical section (a recursive mutex on POSIX): recursive for the owning thread.
class CriticalSection final : public Lockable {
public:
    static constexpr std::size_t kStorageSize = 64;

    CriticalSection();
    ~CriticalSection() override;
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    void Lock() override;
    void Unlock() override;

private:
    // Room for the platform's object (CRITICAL_SECTION, std::recursive_mutex), which the header
    // cannot name without the system headers; the implementations check that it fits.
    alignas(std::max_align_t) unsigned char m_storage[kStorageSize];
};

class ScopedLock {
public:
    explicit ScopedLock(Lockable* lockable) : m_lockable(lockable)
    {
        if (m_lockable)
            m_lockable->Lock();
    }
    ~ScopedLock()
    {
        if (m_lockable)
            m_lockable->Unlock();
    }
    ScopedLock(const ScopedLock&) = delete;
    ScopedLock& operator=(const ScopedLock&) = delete;

private:
    Lockable* m_lockable;
};

}  // namespace Win32::API
