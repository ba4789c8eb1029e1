#include "tray/gtk/MainWindow.h"

#include <gdk/gdkx.h>

#include <algorithm>
#include <cstdlib>

#include "foundation/config/Environment.h"
#include "foundation/glib/CallbackGuard.h"
#include "foundation/glib/PrimaryMonitor.h"
#include "foundation/text/Utf.h"
#include "tray/DesktopSwitches.h"
#include "tray/HistoryFile.h"
#include "tray/ProgramManager.h"
#include "tray/StartupRules.h"
#include "tray/UserSettings.h"
#include "tray/gtk/DesktopStrings.h"

namespace tray::gtk {
namespace {
std::optional<std::uint32_t> StoredDWORD(const Win32::API::RegKey& key, const char16_t* name)
{
    std::uint32_t value = 0;
    if (!key.GetDWORD(name, value))
        return std::nullopt;
    return value;
}

// A Wayland session: other programs' keys cannot be seen, whatever display GTK talks to.
bool IsWaylandDesktop()
{
    const char* session = std::getenv("XDG_SESSION_TYPE");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (session && std::string(session) == "wayland") || (wayland && *wayland) ||
           !GDK_IS_X11_DISPLAY(gdk_display_get_default());
}

// What the user binds to a desktop shortcut of their own where the portal gives none.
std::string ClipboardCommand()
{
    const GCharPtr found(g_find_program_in_path("vocabra-tray"));
    std::string onPath;
    if (found) {
        const std::unique_ptr<char, decltype(&std::free)> resolved(realpath(found.get(), nullptr), &std::free);
        if (resolved)
            onPath = resolved.get();
    }
    return TranslateClipboardCommand(text::Utf16ToUtf8(GetModuleFilePath()), onPath);
}

std::u16string Text(const char* key)
{
    return text::Utf8ToUtf16(DesktopText(key));
}

MainDialogTexts ControllerTexts()
{
    return LoadMainDialogTexts([](const char* name, unsigned) { return Text(name); });
}
}  // namespace

MainWindow::MainWindow(GtkApplication* application)
    : m_application(application),
      m_hotKeys([this](std::uint32_t virtualKey) { OnDoublePress(virtualKey); },
                // A double press may be beginning: the answer windows get ready meanwhile.
                [this](std::uint32_t virtualKey) {
                    if (m_controller.IsDoublePressOn(virtualKey))
                        m_answers.Prepare();
                }),
      m_answers(m_settings.key),
      m_historySaver(HistoryFilePath()),
      m_controller(*this, m_settings, ProgramManager(), ControllerTexts(), LoadKeptHistory(m_historySaver))
{
    m_programIconPath = text::Utf16ToUtf8(GetModuleDirectory()) + "vocabra.ico";
    m_programIcon.reset(gdk_pixbuf_new_from_file_at_size(m_programIconPath.c_str(), 16, 16, nullptr));
    BuildWidgets();
    PlaceWindow();
    m_clipboard = std::make_unique<ClipboardReader>(
        GTK_WINDOW(m_window.get()), [this](const char* text, bool shownForIt) { OnClipboardText(text, shownForIt); });

    m_tray = TrayIndicator::Create(g_application_get_dbus_connection(G_APPLICATION(application)),
                                   {[this] { Present(); }, [this] { return BuildTrayMenu(); }});
    m_tray->SetIcon(m_programIcon.get(), m_programIconPath);
    // Without services the dialog and the tray still work; translations fail quietly.
    LoadServiceIcons();
    m_waylandDesktop = IsWaylandDesktop();
    m_controller.Start();
    StartShortcutPortal();
    ShowKeyNote();
    m_answers.PrepareWhenIdle();
}

MainWindow::~MainWindow()
{
    Exit();
}

void MainWindow::BuildWidgets()
{
    m_window = OwnWidget(gtk_window_new(GTK_WINDOW_TOPLEVEL));
    GtkWindow* window = GTK_WINDOW(m_window.get());
    gtk_window_set_title(window, DesktopText("IDD_MAINDLG.CAPTION"));
    gtk_window_set_role(window, "main");
    gtk_window_set_resizable(window, FALSE);
    gtk_window_set_icon(window, m_programIcon.get());
    gtk_application_add_window(m_application, window);
    g_signal_connect(window, "delete-event", G_CALLBACK(&MainWindow::OnDelete), this);
    g_signal_connect(window, "key-press-event", G_CALLBACK(&MainWindow::OnKeyPress), this);

    GtkWidget* grid = gtk_grid_new();
    gtk_container_set_border_width(GTK_CONTAINER(grid), 8);
    gtk_grid_set_row_spacing(GTK_GRID(grid), 6);
    gtk_grid_set_column_spacing(GTK_GRID(grid), 6);

    m_wordEntry = gtk_entry_new();
    gtk_widget_set_name(m_wordEntry, "word");
    gtk_entry_set_activates_default(GTK_ENTRY(m_wordEntry), TRUE);
    gtk_entry_set_width_chars(GTK_ENTRY(m_wordEntry), 28);
    gtk_widget_set_hexpand(m_wordEntry, TRUE);
    gtk_grid_attach(GTK_GRID(grid), m_wordEntry, 0, 0, 1, 1);
    // Earlier words offered as the user types.
    m_wordSuggestions.reset(gtk_list_store_new(1, G_TYPE_STRING));
    const GObjectPtr<GtkEntryCompletion> completion(gtk_entry_completion_new());
    gtk_entry_completion_set_model(completion.get(), GTK_TREE_MODEL(m_wordSuggestions.get()));
    gtk_entry_completion_set_text_column(completion.get(), 0);
    gtk_entry_set_completion(GTK_ENTRY(m_wordEntry), completion.get());

    GtkWidget* translate = gtk_button_new_with_label(DesktopText("IDD_MAINDLG.IDOK"));
    gtk_widget_set_name(translate, "translate");
    gtk_widget_set_can_default(translate, TRUE);
    g_signal_connect_swapped(translate, "clicked", G_CALLBACK(+[](MainWindow* self) {
                                 glib::GuardCallback("Translate", [self] { self->m_controller.OnTranslate(); });
                             }),
                             this);
    gtk_grid_attach(GTK_GRID(grid), translate, 1, 0, 1, 1);

    // Directions: name and index into the manager's list.
    GObjectPtr<GtkListStore> directions(gtk_list_store_new(2, G_TYPE_STRING, G_TYPE_UINT));
    m_directionCombo = gtk_combo_box_new_with_model(GTK_TREE_MODEL(directions.get()));
    gtk_widget_set_name(m_directionCombo, "directions");
    GtkCellRenderer* directionText = gtk_cell_renderer_text_new();
    gtk_cell_layout_pack_start(GTK_CELL_LAYOUT(m_directionCombo), directionText, TRUE);
    gtk_cell_layout_add_attribute(GTK_CELL_LAYOUT(m_directionCombo), directionText, "text", 0);
    g_signal_connect(m_directionCombo, "changed", G_CALLBACK(&MainWindow::OnDirectionChanged), this);
    gtk_grid_attach(GTK_GRID(grid), m_directionCombo, 0, 1, 2, 1);

    // Services: icon, name and index into the priority order.
    GObjectPtr<GtkListStore> services(gtk_list_store_new(3, GDK_TYPE_PIXBUF, G_TYPE_STRING, G_TYPE_UINT));
    m_dictionaryCombo = gtk_combo_box_new_with_model(GTK_TREE_MODEL(services.get()));
    gtk_widget_set_name(m_dictionaryCombo, "dictionaries");
    GtkCellRenderer* serviceIcon = gtk_cell_renderer_pixbuf_new();
    gtk_cell_layout_pack_start(GTK_CELL_LAYOUT(m_dictionaryCombo), serviceIcon, FALSE);
    gtk_cell_layout_add_attribute(GTK_CELL_LAYOUT(m_dictionaryCombo), serviceIcon, "pixbuf", 0);
    GtkCellRenderer* serviceText = gtk_cell_renderer_text_new();
    gtk_cell_layout_pack_start(GTK_CELL_LAYOUT(m_dictionaryCombo), serviceText, TRUE);
    gtk_cell_layout_add_attribute(GTK_CELL_LAYOUT(m_dictionaryCombo), serviceText, "text", 1);
    g_signal_connect(m_dictionaryCombo, "changed", G_CALLBACK(&MainWindow::OnServiceChanged), this);
    gtk_grid_attach(GTK_GRID(grid), m_dictionaryCombo, 0, 2, 2, 1);

    // The current service's answers in the desktop's browser.
    // Its access key is the Windows dialog's: "&" there is "_" here.
    std::string browserText = DesktopText("IDD_MAINDLG.IDC_OPEN_IN_BROWSER");
    std::replace(browserText.begin(), browserText.end(), '&', '_');
    m_browserCheck = gtk_check_button_new_with_mnemonic(browserText.c_str());
    gtk_widget_set_name(m_browserCheck, "open-in-browser");
    g_signal_connect(m_browserCheck, "toggled", G_CALLBACK(&MainWindow::OnBrowserChoiceToggled), this);
    gtk_grid_attach(GTK_GRID(grid), m_browserCheck, 0, 3, 2, 1);

    m_keyNote = gtk_label_new(nullptr);
    gtk_widget_set_name(m_keyNote, "key-note");
    gtk_label_set_line_wrap(GTK_LABEL(m_keyNote), TRUE);
    gtk_label_set_max_width_chars(GTK_LABEL(m_keyNote), 40);
    gtk_label_set_xalign(GTK_LABEL(m_keyNote), 0);
    gtk_widget_set_no_show_all(m_keyNote, TRUE);
    gtk_grid_attach(GTK_GRID(grid), m_keyNote, 0, 4, 2, 1);

    gtk_container_add(GTK_CONTAINER(window), grid);
    gtk_widget_show_all(grid);
    gtk_widget_grab_default(translate);
    gtk_widget_grab_focus(m_wordEntry);
}

void MainWindow::PlaceWindow()
{
    GdkMonitor* monitor = glib::PrimaryMonitor(gdk_display_get_default());
    GdkRectangle screen{0, 0, 0, 0};
    if (monitor)
        gdk_monitor_get_geometry(monitor, &screen);
    const DialogPlacement place =
        PlaceDialog(StoredDWORD(m_settings.key, u"window_x"), StoredDWORD(m_settings.key, u"window_y"),
                    static_cast<std::uint32_t>(screen.width), static_cast<std::uint32_t>(screen.height));
    if (place.centre)
        gtk_window_set_position(GTK_WINDOW(m_window.get()), GTK_WIN_POS_CENTER);
    else
        gtk_window_move(GTK_WINDOW(m_window.get()), place.x, place.y);
}

void MainWindow::StorePosition()
{
    if (!gtk_widget_get_realized(m_window.get()))
        return;  // never shown: the stored place stays as it was
    gint left = 0;
    gint top = 0;
    gtk_window_get_position(GTK_WINDOW(m_window.get()), &left, &top);
    if (!ShouldStorePosition(left, top))
        return;
    m_settings.key.SetDWORD(u"window_x", static_cast<std::uint32_t>(left));
    m_settings.key.SetDWORD(u"window_y", static_cast<std::uint32_t>(top));
}

void MainWindow::Present()
{
    if (m_exited)
        return;
    gtk_widget_show(m_window.get());
    gtk_window_present(GTK_WINDOW(m_window.get()));
}

void MainWindow::Hide()
{
    gtk_widget_hide(m_window.get());
}

void MainWindow::ShowKeyNote()
{
    // Said once, in the dialog: the desktop itself keeps the keys from us.
    if (!m_waylandDesktop) {
        gtk_widget_hide(m_keyNote);
        return;
    }
    std::string note = DesktopText("IDS_WAYLAND_NOTE");
    if (m_shortcutPortal && m_shortcutPortal->State() == PortalShortcutState::Bound &&
        !m_shortcutPortal->TriggerDescription().empty())
        note += "\n" + DesktopText("IDS_CLIPBOARD_SHORTCUT_BOUND", m_shortcutPortal->TriggerDescription());
    // No portal, or a desktop that refused the shortcut: the user's own shortcut can run the command.
    if (!m_shortcutPortal || m_shortcutPortal->State() == PortalShortcutState::Unavailable)
        note += "\n" + DesktopText("IDS_CLIPBOARD_COMMAND", ClipboardCommand());
    gtk_label_set_text(GTK_LABEL(m_keyNote), note.c_str());
    gtk_widget_show(m_keyNote);
}

void MainWindow::StartShortcutPortal()
{
    // Under Wayland the desktop's global-shortcut portal is the one way to a key that works in
    // every window; the desktop asks the user to confirm or choose it.
    if (!m_waylandDesktop)
        return;
    m_shortcutPortal = std::make_unique<GlobalShortcutPortal>(
        [this](const std::string& activationToken) { TranslateClipboard(activationToken); });
    m_shortcutPortal->SetChangedCallback([this] { ShowKeyNote(); });
    m_shortcutPortal->Start(DesktopText("IDS_CLIPBOARD_SHORTCUT"));
}

gboolean MainWindow::OnDelete(GtkWidget*, GdkEvent*, gpointer self)
{
    // Closing hides the dialog; the program keeps running in the tray. Never destroyed, even
    // when hiding failed.
    return glib::GuardCallback(
        "closing the dialog",
        [self] {
            static_cast<MainWindow*>(self)->Hide();
            return TRUE;
        },
        TRUE);
}

gboolean MainWindow::OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer self)
{
    // Esc closes the dialog as its close box does.
    return event->keyval == GDK_KEY_Escape ? OnDelete(nullptr, nullptr, self) : FALSE;
}

void MainWindow::Exit()
{
    if (m_exited)
        return;
    m_exited = true;
    m_controller.Stop();
    StorePosition();
    m_hotKeys.Stop();
    m_shortcutPortal.reset();
    m_answers.CloseAll();
    m_tray.reset();
    gtk_widget_hide(m_window.get());
    g_application_quit(G_APPLICATION(m_application));
}

}  // namespace tray::gtk
