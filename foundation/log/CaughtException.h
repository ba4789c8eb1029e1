#pragma once
// Boundaries that no exception may cross (COM methods, window procedures, callbacks of C
// libraries) catch everything; this writes what they caught to the log before they go on.

class Log;

// Names the exception now being handled, after `where`. Only inside a catch block.
void LogCaughtException(Log& log, const char* where) noexcept;
// The same, in the log shared by every such boundary of the process.
void LogCaughtException(const char* where) noexcept;
