// Where the desktop program's callbacks report what they could not handle: the diagnostic log,
// and GLib's log, which reaches the session's journal even while the diagnostic log is off.
#define G_LOG_DOMAIN "vocabra-tray"

#include "tray/gtk/CallbackFailureLog.h"

#include <glib.h>

#include <string>

#include "foundation/glib/CallbackGuard.h"
#include "foundation/log/CaughtException.h"
#include "foundation/log/Log.h"
#include "foundation/text/AnsiCodePage.h"
#include "translate/manager/TranslateException.h"
#include "translate/target/AnswerWindow.h"

namespace {
constexpr char kFailurePrefix[] = "Exception in a callback: ";

Log& ProgramLog()
{
    static Log log("MAIN");
    return log;
}

void WriteAnswerWindowWarning(const gchar* domain, GLogLevelFlags level, const gchar* message, gpointer) noexcept
{
    try {
        ProgramLog().Write("Answer window: ", message);
    } catch (...) {
        // The line is lost; GLib's own log still gets it below.
    }
    g_log_default_handler(domain, level, message, nullptr);
}
}  // namespace

void glib::ReportCallbackFailure(const char* where) noexcept
{
    try {
        std::string text;
        try {
            throw;
        } catch (const translate::TranslateException& exception) {
            // The engine's one exception carries its text, not what().
            text = text::ToAnsiCodePage(exception.GetMessage());
        } catch (...) {
            text = CaughtExceptionText();
        }
        g_warning("%s%s: %s", kFailurePrefix, where, text.c_str());
        ProgramLog().Write((kFailurePrefix + std::string(where) + ": ").c_str(), text.c_str());
    } catch (...) {
        // Out of memory while reporting: the report is dropped, the program goes on.
    }
}

void tray::gtk::LogAnswerWindowWarnings()
{
    g_log_set_handler(translate::target::kAnswerWindowLogDomain,
                      static_cast<GLogLevelFlags>(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING | G_LOG_FLAG_FATAL),
                      &WriteAnswerWindowWarning, nullptr);
}
