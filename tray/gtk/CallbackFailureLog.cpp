// Where the desktop program's callbacks report what they could not handle: the diagnostic log,
// and GLib's log, which reaches the session's journal even while the diagnostic log is off.
#define G_LOG_DOMAIN "vocabra-tray"

#include <glib.h>

#include <string>

#include "foundation/glib/CallbackGuard.h"
#include "foundation/log/CaughtException.h"
#include "foundation/log/Log.h"
#include "translate/manager/TranslateException.h"

namespace glib {
namespace {
constexpr char kFailurePrefix[] = "Exception in a callback: ";

Log& ProgramLog()
{
    static Log log("MAIN");
    return log;
}
}  // namespace

void ReportCallbackFailure(const char* where) noexcept
{
    try {
        g_warning("%s%s", kFailurePrefix, where);
        Log& log = ProgramLog();
        const std::string message = std::string(kFailurePrefix) + where + ": ";
        try {
            throw;
        } catch (const translate::TranslateException& exception) {
            // The engine's one exception carries its text, not what().
            log.Write(message.c_str(), exception.GetMessage().c_str());
        } catch (...) {
            WriteCaughtException(log, message.c_str());
        }
    } catch (...) {
        // Out of memory while reporting: the report is dropped, the program goes on.
    }
}

}  // namespace glib
