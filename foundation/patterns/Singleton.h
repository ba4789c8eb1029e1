#pragma once
// Process-wide objects created on first use under a process-wide lock and destroyed at exit.

#include <cstdlib>
#include <new>

#include "foundation/win32api/Lock.h"

namespace patterns {

// Constructs the object in the storage it is given. Prepare() runs under the lock on every
// request, after construction; a policy uses it for initialisation that must be retried when it
// fails.
template <class T>
struct DefaultInitializer {
    // NOLINTNEXTLINE(cppcoreguidelines-owning-memory): Singleton owns the storage and destroys the object in place
    static T* Create(void* storage) { return ::new (storage) T(); }
    static void Prepare(T&) {}
};

// Singleton<T, Initializer>::GetInstance() returns the one T of the process. When construction
// throws, the "created" flag is cleared again, so that a later call retries.
template <class T, class Initializer = DefaultInitializer<T>>
class Singleton {
public:
    static T& GetInstance()
    {
        Win32::API::ScopedLock lock(&Guard());
        if (!s_created) {
            s_created = true;
            try {
                s_instance = Initializer::Create(Storage());
            } catch (...) {
                s_created = false;
                throw;
            }
            std::atexit(&Destroy);
        }
        Initializer::Prepare(*s_instance);
        return *s_instance;
    }

private:
    static Win32::API::CriticalSection& Guard()
    {
        static Win32::API::CriticalSection guard;
        return guard;
    }

    // Inside a function, so that T may still be incomplete where Singleton<T> is named (as a
    // base of T itself).
    static void* Storage()
    {
        alignas(T) static unsigned char storage[sizeof(T)];
        return storage;
    }

    static void Destroy()
    {
        Win32::API::ScopedLock lock(&Guard());
        s_instance->~T();
        s_instance = nullptr;
        s_created = false;
    }

    static inline T* s_instance = nullptr;
    static inline bool s_created = false;
};

}  // namespace patterns
