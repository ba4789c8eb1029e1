#include "foundation/log/CaughtException.h"

#include <exception>

#include "foundation/log/Log.h"

void WriteCaughtException(Log& log, const char* where) noexcept
{
    try {
        try {
            throw;
        } catch (const std::exception& exception) {
            log.Write(where, exception.what());
        } catch (...) {
            log.Write(where, "an exception of unknown type");
        }
    } catch (...) {
        // Logging itself failed; there is nowhere left to report it.
    }
}
