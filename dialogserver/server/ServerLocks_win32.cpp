#include "dialogserver/server/ServerLocks_win32.h"

#include <windows.h>

#include <objbase.h>

#include <memory>

#include "dialogserver/server/IdleShutdown.h"
#include "foundation/win32api/Handles.h"

namespace dialogserver {
namespace {
std::unique_ptr<IdleShutdown> g_locks;
Win32::API::Event g_idle;
}  // namespace

bool StartServerLocks()
{
    bool existed = false;
    if (!g_idle.IsValid() && !g_idle.Create(nullptr, existed))
        return false;
    g_locks = std::make_unique<IdleShutdown>(true, kIdleSpell, [] { ::SetEvent(g_idle.Get()); });
    return g_locks->Started();
}

void StopServerLocks()
{
    g_locks.reset();
}

void* ServerIdleEvent()
{
    return g_idle.IsValid() ? g_idle.Get() : nullptr;
}

long ServerLockCount()
{
    return g_locks ? g_locks->Count() : 0;
}

void LockServer()
{
    if (!g_locks)
        return;
    ::CoAddRefServerProcess();
    g_locks->Lock();
}

void UnlockServer()
{
    if (!g_locks)
        return;
    g_locks->Unlock();
    ::CoReleaseServerProcess();
}

}  // namespace dialogserver
