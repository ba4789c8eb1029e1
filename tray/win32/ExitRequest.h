#pragma once
// How a second start with "/exit" (the installer's, before it removes or replaces the program)
// asks the running copy to exit: a registered message to every top-level window of the desktop,
// which only the main dialog answers, with its Exit command.

#include <windows.h>

#include <string>

namespace tray::win32 {

// The registered message; the same number in every process of the session.
UINT ExitRequestMessage();

// Posts the request and waits until the copy holding the named start-up event has ended, at most
// `limitMs`. True when no copy runs any more (also when none ran).
bool AskRunningCopyToExit(const std::u16string& instanceEvent, DWORD limitMs);

}  // namespace tray::win32
