#pragma once
// Failures that would otherwise vanish without a trace, written to the diagnostic log (when it
// is on) under the program's own label.

namespace tray::win32 {

// One line: `message` followed by `detail`.
void LogFailure(const char* message, const char* detail = nullptr);
// Inside a catch block: `where`, then what the exception being handled says.
void LogCaughtException(const char* where) noexcept;

}  // namespace tray::win32
