#pragma once
// Keys typed into an answer window reach its page before anything else. The browser control does
// Tab, Ctrl+C, Ctrl+A, Ctrl+F and the arrow keys only when its host offers it each key before the
// key is dispatched; the answer windows live on the tray program's thread, whose message loop
// knows nothing of them, so the library watches that thread's queue itself, with a message hook
// of the thread (never of the desktop) that runs as any loop of the thread takes a message out.

namespace browserwindow {

// Called by each answer window as it is made and as it goes, on its own thread. While the thread
// has answer windows, each keyboard message taken from its queue for one of them (or for one of
// its children) is first offered to its page; a key the page takes goes no further. Esc, when
// the page leaves it, closes the window as its close box does.
void WatchKeys();
void StopWatchingKeys();

}  // namespace browserwindow
