// Translating: the Translate button, the hot keys' clipboard text, and where answers are shown.
#include "foundation/glib/CallbackGuard.h"
#include "foundation/text/Utf.h"
#include "foundation/text/WhiteSpace.h"
#include "translate/manager/DictionaryManager.h"
#include "translate/manager/TranslateException.h"
#include "tray/ClipboardWord.h"
#include "tray/HotKeyRecognizer.h"
#include "tray/OpenInBrowser.h"
#include "tray/UserSettings.h"
#include "tray/gtk/MainWindow.h"

namespace tray::gtk {

void MainWindow::OnTranslate()
{
    const std::u16string word(
        text::TrimLeft(text::TrimRight(text::Utf8ToUtf16(gtk_entry_get_text(GTK_ENTRY(m_wordEntry))))));
    if (word.empty())
        return;

    try {
        translate::manager::DictionaryManager& manager = translate::manager::DictionaryManager::GetInstance();
        const translate::Direction direction = GetCurrentDirection(m_settings.key);
        TranslateWord(m_settings.key, manager, word, direction, m_browser, [&] {
            // The service that will answer: its windows' zoom and size are kept for it.
            const std::u16string serviceId = manager.GetServiceFor(direction)->m_id;
            m_answers.Translate(m_currentIconPath, serviceId, [&](translate::target::Target& target) {
                manager.Translate(word, direction, target);
            });
        });
    } catch (const translate::TranslateException&) {
        // The request failed; the user sees nothing, as with every engine failure.
    }
    m_update.Offer(m_settings.key);
}

void MainWindow::OnDoublePress(std::uint32_t virtualKey)
{
    if (virtualKey == kVirtualKeyInsert && !IsHotKeyOn(m_settings.key, u"useCtrlInsIns"))
        return;
    if (virtualKey == kVirtualKeyC && !IsHotKeyOn(m_settings.key, u"useCtrlCC"))
        return;
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
        if (!text || self->m_exited)
            return;  // no text on the clipboard
        const std::u16string word = CleanClipboardWord(text::Utf8ToUtf16(text));
        if (word.empty())
            return;
        gtk_entry_set_text(GTK_ENTRY(self->m_wordEntry), text::Utf16ToUtf8(word).c_str());
        if (IsOpenMainWindowOnTranslation(self->m_settings.key))
            self->Present();
        self->OnTranslate();
    });
}

}  // namespace tray::gtk
