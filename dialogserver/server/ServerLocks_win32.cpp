#include "dialogserver/server/ServerLocks_win32.h"

#include <windows.h>

#include <memory>

#include "dialogserver/server/IdleShutdown.h"

namespace dialogserver {
namespace {
std::unique_ptr<IdleShutdown> g_locks;
}  // namespace

bool StartServerLocks(bool delayed)
{
    const DWORD mainThread = ::GetCurrentThreadId();
    g_locks = std::make_unique<IdleShutdown>(delayed, kIdleSpell,
                                             [mainThread] { ::PostThreadMessageW(mainThread, WM_QUIT, 0, 0); });
    return g_locks->Started();
}

void StopServerLocks()
{
    g_locks.reset();
}

void LockServer()
{
    if (g_locks)
        g_locks->Lock();
}

void UnlockServer()
{
    if (g_locks)
        g_locks->Unlock();
}

}  // namespace dialogserver
