#include "tray/gtk/UpdateQuestion.h"

#include "foundation/config/Environment.h"
#include "foundation/config/ResourceIds.h"
#include "foundation/text/Utf.h"
#include "tray/gtk/AnswerWindows.h"
#include "tray/gtk/MainThreadCall.h"
#include "update/UpdateCheck.h"

namespace tray::gtk {

UpdateQuestion::UpdateQuestion() : m_self(std::make_shared<UpdateQuestion*>(this)) {}

UpdateQuestion::~UpdateQuestion()
{
    *m_self = nullptr;
    if (m_question)
        gtk_widget_destroy(m_question);
}

void UpdateQuestion::Offer(const Win32::API::RegKey& settings)
{
    if ((m_check && !m_check->Finished()) || m_question || !update::IsCheckDue(settings, update::CurrentTime()))
        return;
    std::weak_ptr<UpdateQuestion*> self = m_self;
    // The check decides again whether it is due and stores its time, as on Windows.
    m_check = std::make_unique<threads::BackgroundTask>([] { return update::CheckForUpdate(false); },
                                                       [self] {
                                                           CallOnMainThread([self] {
                                                               auto alive = self.lock();
                                                               if (alive && *alive)
                                                                   (*alive)->OnChecked((*alive)->m_check->Result().value_or(true));
                                                           });
                                                       });
}

void UpdateQuestion::OnChecked(bool nothingToOffer)
{
    if (nothingToOffer)
        return;
    const std::string caption = text::Utf16ToUtf8(LoadResourceString(IDS_UPDATE_CAPTION));
    const std::string question = text::Utf16ToUtf8(LoadResourceString(IDS_UPDATE_QUESTION));
    m_question = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_QUESTION, GTK_BUTTONS_YES_NO, "%s",
                                        question.c_str());
    gtk_window_set_title(GTK_WINDOW(m_question), caption.c_str());
    g_signal_connect(m_question, "response", G_CALLBACK(&UpdateQuestion::OnAnswer), this);
    gtk_window_present(GTK_WINDOW(m_question));
}

void UpdateQuestion::OnAnswer(GtkDialog* dialog, gint response, gpointer data)
{
    auto* self = static_cast<UpdateQuestion*>(data);
    gtk_widget_destroy(GTK_WIDGET(dialog));
    self->m_question = nullptr;
    if (response != GTK_RESPONSE_YES)
        return;
    OpenWithDesktop(text::Utf16ToUtf8(update::GetUpdateLink()));
}

}  // namespace tray::gtk
