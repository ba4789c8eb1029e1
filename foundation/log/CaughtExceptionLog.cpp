// Apart from the text of a caught exception, which libraries without the log use too.
#include "foundation/log/CaughtException.h"
#include "foundation/log/Log.h"

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
