#pragma once
// The process-wide lock count of the server: every dialog object and every LockServer(TRUE) holds
// one. When the last goes (or none came after the start), the idle event is set after a quiet
// spell, and the main thread decides whether the server ends.

#include <chrono>

namespace dialogserver {

// The quiet spell after the last lock before the server is asked to end.
constexpr std::chrono::milliseconds kIdleSpell{5000};

// Starts counting, and watching for the quiet spell. False when the monitor thread or the event
// cannot be had.
bool StartServerLocks();
void StopServerLocks();
// Set (auto-reset) each time the quiet spell has passed; null before StartServerLocks.
void* ServerIdleEvent();
long ServerLockCount();

// COM's count of the server process follows the locks too, so that the system stops handing out
// the class objects when the server lets its count fall to zero.
void LockServer();
void UnlockServer();

}  // namespace dialogserver
