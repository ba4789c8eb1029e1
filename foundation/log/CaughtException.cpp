#include "foundation/log/CaughtException.h"

#include <exception>

#include "foundation/log/Log.h"

const char* CaughtExceptionText() noexcept
{
    try {
        throw;
    } catch (const std::exception& exception) {
        return exception.what();
    } catch (...) {
        return "an exception of unknown type";
    }
}

void LogCaughtException(Log& log, const char* where) noexcept
{
    try {
        log.Write(where, CaughtExceptionText());
    } catch (...) {
        // Logging itself failed; there is nowhere left to report it.
    }
}

void LogCaughtException(const char* where) noexcept
{
    try {
        static Log boundaryLog("BOUNDARY");
        LogCaughtException(boundaryLog, where);
    } catch (...) {
        // The log could not even be opened.
    }
}
