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

void MainWindow::TranslateClipboard(const std::string& activationToken)
{
    if (!m_exited)
        m_clipboard->Read(activationToken);
}

void MainWindow::OnClipboardText(const char* text, bool shownForIt)
{
    m_shownForAnswer = false;
    if (text && !m_exited)  // none: no text on the clipboard
        m_controller.OnClipboardText(text::Utf8ToUtf16(text));
    // Shown only so that the desktop would hand over the clipboard: hidden again, unless the user's
    // setting shows it with every answer.
    if (shownForIt && !m_shownForAnswer && !m_exited)
        Hide();
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
    m_shownForAnswer = showDialog;
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
    GtkWidget* dialog =
        gtk_message_dialog_new(GTK_WINDOW(m_window.get()), GTK_DIALOG_DESTROY_WITH_PARENT, GTK_MESSAGE_WARNING,
                               GTK_BUTTONS_OK, "%s", text::Utf16ToUtf8(text).c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), "Vocabra");
    g_signal_connect(dialog, "response", G_CALLBACK(gtk_widget_destroy), nullptr);
    gtk_widget_show(dialog);
}

}  // namespace tray::gtk
