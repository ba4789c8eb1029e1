#pragma once
// The process-wide lock count of the server: every dialog object and every LockServer(TRUE) holds
// one. When the last goes the server ends, after a quiet spell when the idle shutdown is on.

#include <chrono>

namespace dialogserver {

// The quiet spell after the last lock before the server quits.
constexpr std::chrono::milliseconds kIdleSpell{5000};

// Starts counting for the calling thread, whose message loop WM_QUIT ends. Without `delayed`
// the last unlock quits at once. False when the monitor thread cannot be started.
bool StartServerLocks(bool delayed);
void StopServerLocks();

void LockServer();
void UnlockServer();

}  // namespace dialogserver
