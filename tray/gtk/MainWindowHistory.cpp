// The lookup history's controls: the word box's suggestions, the question before clearing and the
// export's Save dialog.
#include "foundation/glib/GLibOwnership.h"
#include "foundation/text/Utf.h"
#include "tray/gtk/DesktopStrings.h"
#include "tray/gtk/MainWindow.h"

namespace tray::gtk {
namespace {
constexpr char kExportFileName[] = "vocabra-words.txt";

// A dialog of the program's own: over the main dialog while it is shown, on its own otherwise (a
// hidden parent would keep it off the screen on some desktops).
GtkWindow* DialogParent(GtkWidget* window)
{
    return gtk_widget_get_visible(window) ? GTK_WINDOW(window) : nullptr;
}
}  // namespace

void MainWindow::SetWordSuggestions(const std::vector<std::u16string>& words)
{
    GtkListStore* store = m_wordSuggestions.get();
    gtk_list_store_clear(store);
    for (const std::u16string& word : words)
        gtk_list_store_insert_with_values(store, nullptr, -1, 0, text::Utf16ToUtf8(word).c_str(), -1);
}

bool MainWindow::Ask(const std::u16string& question)
{
    const OwnedWidget dialog =
        OwnWidget(gtk_message_dialog_new(DialogParent(m_window.get()), GTK_DIALOG_MODAL, GTK_MESSAGE_QUESTION,
                                         GTK_BUTTONS_YES_NO, "%s", text::Utf16ToUtf8(question).c_str()));
    gtk_window_set_title(GTK_WINDOW(dialog.get()), "Vocabra");
    gtk_widget_set_name(dialog.get(), "question");
    return gtk_dialog_run(GTK_DIALOG(dialog.get())) == GTK_RESPONSE_YES;
}

std::optional<std::string> MainWindow::AskExportPath()
{
    const GObjectPtr<GtkFileChooserNative> chooser(gtk_file_chooser_native_new(
        DesktopText("IDS_EXPORT_TITLE"), DialogParent(m_window.get()), GTK_FILE_CHOOSER_ACTION_SAVE, nullptr, nullptr));
    GtkFileChooser* files = GTK_FILE_CHOOSER(chooser.get());
    gtk_file_chooser_set_do_overwrite_confirmation(files, TRUE);
    gtk_file_chooser_set_current_name(files, kExportFileName);
    if (gtk_native_dialog_run(GTK_NATIVE_DIALOG(chooser.get())) != GTK_RESPONSE_ACCEPT)
        return std::nullopt;
    const glib::GCharPtr name(gtk_file_chooser_get_filename(files));
    if (!name)
        return std::nullopt;  // a place outside the file system (a remote one): nothing to write to
    return std::string(name.get());
}

}  // namespace tray::gtk
