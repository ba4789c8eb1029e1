// Where the answer window's callbacks report what they could not handle: GLib's log, which the
// desktop program passes on to its diagnostic log.
#include <glib.h>

#include "foundation/glib/CallbackGuard.h"
#include "foundation/log/CaughtException.h"
#include "translate/target/AnswerWindow.h"

void glib::ReportCallbackFailure(const char* where) noexcept
{
    g_log(translate::target::kAnswerWindowLogDomain, G_LOG_LEVEL_WARNING, "Exception in a callback: %s: %s", where,
          CaughtExceptionText());
}
