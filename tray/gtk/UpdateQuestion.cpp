#include "tray/gtk/UpdateQuestion.h"

#include "foundation/config/Environment.h"
#include "foundation/config/ResourceIds.h"
#include "foundation/glib/CallbackGuard.h"
#include "foundation/text/Utf.h"
#include "tray/gtk/AnswerWindows.h"
#include "update/UpdateCheck.h"

namespace tray::gtk {
namespace {
constexpr char kOfferPrefix[] = "update available: ";
}

UpdateQuestion::~UpdateQuestion()
{
    if (m_cancel)
        g_cancellable_cancel(m_cancel.get());
    if (m_question)
        gtk_widget_destroy(m_question);
}

std::string UpdateQuestion::OfferedLink(const std::string& report)
{
    const std::string::size_type start = report.find(kOfferPrefix);
    if (start != 0)
        return std::string();
    std::string link = report.substr(sizeof kOfferPrefix - 1);
    link = link.substr(0, link.find_first_of("\r\n"));
    return update::IsAcceptableUpdateLink(text::Utf8ToUtf16(link)) ? link : std::string();
}

void UpdateQuestion::Offer(const Win32::API::RegKey& settings)
{
    if (m_cancel || m_question || !update::IsCheckDue(settings, update::CurrentTime()))
        return;
    // The tool decides again whether the check is due and stores its time.
    const std::string tool = text::Utf16ToUtf8(GetModuleDirectory()) + "vocabra-lookup";
    GError* error = nullptr;
    GObjectPtr<GSubprocess> process(g_subprocess_new(
        static_cast<GSubprocessFlags>(G_SUBPROCESS_FLAGS_STDOUT_PIPE | G_SUBPROCESS_FLAGS_STDERR_SILENCE), &error,
        tool.c_str(), "--check-update", nullptr));
    if (!process) {
        g_message("no update check: %s", error ? error->message : tool.c_str());
        g_clear_error(&error);
        return;
    }
    m_cancel.reset(g_cancellable_new());
    g_subprocess_communicate_utf8_async(process.get(), nullptr, m_cancel.get(), &UpdateQuestion::OnChecked, this);
}

void UpdateQuestion::OnChecked(GObject* process, GAsyncResult* result, gpointer data)
{
    glib::GuardCallback("the update check's report", [process, result, data] {
        gchar* output = nullptr;
        GError* rawError = nullptr;
        const bool read =
            g_subprocess_communicate_utf8_finish(G_SUBPROCESS(process), result, &output, nullptr, &rawError);
        const GCharPtr report(output);
        const GErrorPtr error(rawError);
        if (g_error_matches(error.get(), G_IO_ERROR, G_IO_ERROR_CANCELLED))
            return;  // this object is gone
        auto* self = static_cast<UpdateQuestion*>(data);
        self->m_cancel.reset();
        if (read && report && g_subprocess_get_if_exited(G_SUBPROCESS(process)) &&
            g_subprocess_get_exit_status(G_SUBPROCESS(process)) == 0) {
            const std::string link = OfferedLink(report.get());
            if (!link.empty())
                self->Ask(link);
        }
    });
}

void UpdateQuestion::Ask(const std::string& link)
{
    m_link = link;
    const std::string caption = text::Utf16ToUtf8(LoadResourceString(IDS_UPDATE_CAPTION));
    const std::string question = text::Utf16ToUtf8(LoadResourceString(IDS_UPDATE_QUESTION));
    m_question = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_QUESTION, GTK_BUTTONS_YES_NO, "%s",
                                        question.c_str());
    gtk_window_set_title(GTK_WINDOW(m_question), caption.c_str());
    gtk_window_set_role(GTK_WINDOW(m_question), "update");
    g_signal_connect(m_question, "response", G_CALLBACK(&UpdateQuestion::OnAnswer), this);
    gtk_window_present(GTK_WINDOW(m_question));
}

void UpdateQuestion::OnAnswer(GtkDialog* dialog, gint response, gpointer data)
{
    glib::GuardCallback("the update question's answer", [dialog, response, data] {
        auto* self = static_cast<UpdateQuestion*>(data);
        gtk_widget_destroy(GTK_WIDGET(dialog));
        self->m_question = nullptr;
        if (response == GTK_RESPONSE_YES)
            OpenWithDesktop(self->m_link);
    });
}

}  // namespace tray::gtk
