#pragma once
// What a caught exception says, for the diagnostic log.

class Log;

// Inside a catch block: writes `where`, then what the exception being handled says (its what(),
// or that its type is unknown). Never throws: a failure to log is dropped.
void WriteCaughtException(Log& log, const char* where) noexcept;
