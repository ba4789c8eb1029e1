#pragma once
// Boundaries that no exception may cross (COM methods, window procedures, callbacks of C
// libraries) catch everything; these say what they caught, for the log, before they go on.

class Log;

// Inside a catch block: what the exception being handled says (its what(), or that its type is
// unknown). Valid while the exception is handled.
const char* CaughtExceptionText() noexcept;

// Writes `where` and the text of the exception now being handled to `log`. Only inside a catch
// block.
void LogCaughtException(Log& log, const char* where) noexcept;
// The same, in the log shared by every such boundary of the process.
void LogCaughtException(const char* where) noexcept;
