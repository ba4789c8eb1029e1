#pragma once
// What a caught exception says, for a log.

// Inside a catch block: what the exception being handled says (its what(), or that its type is
// unknown). Valid while the exception is handled.
const char* CaughtExceptionText() noexcept;
