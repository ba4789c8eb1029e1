#pragma once
// The desktop program's diagnostic log for what its callbacks, and those of the answer window
// library it loads, could not handle. The report of glib::GuardCallback is defined beside it.

namespace tray::gtk {

// Sends the answer window library's warnings to the diagnostic log too. The library cannot link
// the log (its settings and files live in the program), so it reports through GLib's.
void LogAnswerWindowWarnings();

}  // namespace tray::gtk
