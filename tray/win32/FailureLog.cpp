#include "tray/win32/FailureLog.h"

#include "foundation/log/CaughtException.h"
#include "foundation/log/Log.h"

namespace tray::win32 {
namespace {
Log& ProgramLog()
{
    static Log log("MAIN");
    return log;
}
}  // namespace

void LogFailure(const char* message, const char* detail)
{
    ProgramLog().Write(message, detail);
}

void LogCaughtException(const char* where) noexcept
{
    try {
        LogFailure(where, CaughtExceptionText());
    } catch (...) {
        // Logging itself failed; there is nowhere left to report it.
    }
}

}  // namespace tray::win32
