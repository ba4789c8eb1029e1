#include "tray/app/FailureLog.h"

#include "foundation/log/CaughtException.h"
#include "foundation/log/Log.h"

namespace tray::app {
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
        WriteCaughtException(ProgramLog(), where);
    } catch (...) {
        // The log object itself could not be made; there is nowhere left to report it.
    }
}

}  // namespace tray::app
