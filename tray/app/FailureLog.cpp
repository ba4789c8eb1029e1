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
        ::LogCaughtException(ProgramLog(), where);
    } catch (...) {
        // The log could not even be opened.
    }
}

}  // namespace tray::app
