// Translating: the word box, the hot keys' clipboard text, and where answers are shown.
#include "foundation/glib/CallbackGuard.h"
#include "foundation/text/Utf.h"
#include "tray/gtk/MainWindow.h"

namespace tray::gtk {

void MainWindow::OnDoublePress(std::uint32_t virtualKey)
{
    if (m_controller.IsDoublePressOn(virtualKey))
        TranslateClipboard();
}

void MainWindow::TranslateClipboard()
{
    // The answer comes back through the main loop: the owner of the text is another program.
    gtk_clipboard_request_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD), &MainWindow::OnClipboardText, this);
}

void MainWindow::OnClipboardText(GtkClipboard*, const gchar* text, gpointer data)
{
    glib::GuardCallback("the clipboard's text", [text, data] {
        auto* self = static_cast<MainWindow*>(data);
        if (text && !self->m_exited)  // none: no text on the clipboard
            self->m_controller.OnClipboardText(text::Utf8ToUtf16(text));
    });
}

std::u16string MainWindow::Word() const
{
    return text::Utf8ToUtf16(gtk_entry_get_text(GTK_ENTRY(m_wordEntry)));
}

void MainWindow::SetWord(const std::u16string& word)
{
    gtk_entry_set_text(GTK_ENTRY(m_wordEntry), text::Utf16ToUtf8(word).c_str());
}

void MainWindow::PrepareHotKeyAnswer(bool showDialog)
{
    if (showDialog)
        Present();
}

void MainWindow::OpenAnswer(const AnswerRequest& request)
{
    m_answers.Translate(m_currentIconPath, request.serviceId, request.show);
}

void MainWindow::UseBrowserTarget(const std::function<void(translate::target::Target&)>& use)
{
    use(m_browser);
}

void MainWindow::OfferUpdate()
{
    m_update.Offer(m_settings.key);
}

void MainWindow::ShowMessage(const std::u16string& text)
{
    // Not modal: the tray and the hot keys go on while it is read.
    GtkWidget* dialog = gtk_message_dialog_new(GTK_WINDOW(m_window.get()), GTK_DIALOG_DESTROY_WITH_PARENT,
                                               GTK_MESSAGE_WARNING, GTK_BUTTONS_OK, "%s",
                                               text::Utf16ToUtf8(text).c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), "Vocabra");
    g_signal_connect(dialog, "response", G_CALLBACK(gtk_widget_destroy), nullptr);
    gtk_widget_show(dialog);
}

}  // namespace tray::gtk
