#pragma once
// Work that may wait for the network, run off a thread that must keep answering: the tray
// program's main thread services its low-level keyboard hook, and Windows silently removes a hook
// that does not answer in time.

#include <functional>

namespace update {

// Runs `work` on a new thread (with COM, multithreaded apartment) while the calling thread keeps
// dispatching its messages, and returns when `work` has ended: synchronous for the caller, yet
// its windows and hooks stay responsive. Exceptions from `work` are dropped.
// A quit message taken from the queue meanwhile ends the dispatching; it is posted again before
// returning, and `quit` reports it. False when no thread could be started (`work` did not run).
bool RunWhilePumping(const std::function<void()>& work, bool& quit);

}  // namespace update
