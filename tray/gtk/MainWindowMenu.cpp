// The tray menu: the hot-key switches, the dictionary items, and the program's own commands.
#include <gdk/gdkx.h>

#include "foundation/glib/CallbackGuard.h"
#include "foundation/text/Utf.h"
#include "resource.h"
#include "tray/gtk/DesktopStrings.h"
#include "tray/gtk/MainWindow.h"

namespace tray::gtk {
namespace {
constexpr char kCommandKey[] = "vocabra-command";

// What an item does when chosen: the window's command handler, with the window.
struct ItemAction {
    GCallback handler;
    gpointer window;
};

GtkWidget* CommandItem(const std::string& text,
                       std::uint32_t command,
                       std::optional<bool> checked,
                       const ItemAction& action)
{
    GtkWidget* item =
        checked ? gtk_check_menu_item_new_with_label(text.c_str()) : gtk_menu_item_new_with_label(text.c_str());
    // Checked before the handler is connected: setting the mark emits "activate" too.
    if (checked)
        gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(item), *checked);
    g_object_set_data(G_OBJECT(item), kCommandKey, GUINT_TO_POINTER(command));
    g_signal_connect(item, "activate", action.handler, action.window);
    return item;
}

// The portable menu model's items, with the current direction's first item marked.
void AppendModelItems(GtkWidget* menu,
                      const std::vector<MenuItem>& items,
                      std::optional<std::uint32_t>& checked,
                      const ItemAction& action)
{
    for (const MenuItem& item : items) {
        if (item.kind == MenuItem::Kind::Separator) {
            gtk_menu_shell_append(GTK_MENU_SHELL(menu), gtk_separator_menu_item_new());
        } else if (item.kind == MenuItem::Kind::Popup) {
            GtkWidget* popup = gtk_menu_item_new_with_label(text::Utf16ToUtf8(item.text).c_str());
            GtkWidget* submenu = gtk_menu_new();
            AppendModelItems(submenu, item.items, checked, action);
            gtk_menu_item_set_submenu(GTK_MENU_ITEM(popup), submenu);
            gtk_menu_shell_append(GTK_MENU_SHELL(menu), popup);
        } else if (item.kind == MenuItem::Kind::Check) {
            GtkWidget* entry = CommandItem(text::Utf16ToUtf8(item.text), item.command, item.checked, action);
            gtk_widget_set_sensitive(entry, item.enabled);
            gtk_menu_shell_append(GTK_MENU_SHELL(menu), entry);
        } else {
            // Directions are radio items, the current one marked; other commands are plain.
            const bool direction =
                item.command >= kDirectionCommandBase && item.command < kDirectionCommandBase + kMaxDirectionCommands;
            const bool mark = direction && checked && *checked == item.command;
            if (mark)
                checked.reset();  // by command: only the first item with it
            GtkWidget* entry = CommandItem(text::Utf16ToUtf8(item.text), item.command,
                                           direction ? std::optional<bool>(mark) : std::nullopt, action);
            if (direction)
                gtk_check_menu_item_set_draw_as_radio(GTK_CHECK_MENU_ITEM(entry), TRUE);
            gtk_widget_set_sensitive(entry, item.enabled);
            gtk_menu_shell_append(GTK_MENU_SHELL(menu), entry);
        }
    }
}
}  // namespace

GtkWidget* MainWindow::BuildTrayMenu()
{
    GtkWidget* menu = gtk_menu_new();
    gtk_widget_set_name(menu, "tray-menu");
    const auto append = [menu](GtkWidget* item) { gtk_menu_shell_append(GTK_MENU_SHELL(menu), item); };
    const ItemAction action{G_CALLBACK(&MainWindow::OnMenuItem), this};
    TrayMenuState state = m_controller.MenuState();
    append(CommandItem(DesktopText("ID_USE_CTRL_INS_INS"), ID_USE_CTRL_INS_INS, state.ctrlInsIns, action));
    append(CommandItem(DesktopText("ID_USE_CTRL_C_C"), ID_USE_CTRL_C_C, state.ctrlCC, action));
    append(gtk_separator_menu_item_new());
    if (state.dictionary) {
        AppendModelItems(menu, state.dictionary->items, state.dictionary->checkedCommand, action);
        append(gtk_separator_menu_item_new());
    }
    GtkWidget* open = CommandItem(DesktopText("ID_OPEN_VOCABRA"), ID_OPEN_VOCABRA, std::nullopt, action);
    gtk_widget_set_name(open, kOpenItemName);
    append(open);
    append(CommandItem(DesktopText("ID_APP_ABOUT"), ID_APP_ABOUT, std::nullopt, action));
    append(CommandItem(DesktopText("ID_APP_EXIT"), ID_APP_EXIT, std::nullopt, action));
    gtk_widget_show_all(menu);
    return menu;
}

void MainWindow::OnMenuItem(GtkMenuItem* item, gpointer self)
{
    glib::GuardCallback("a tray menu item", [item, self] {
        static_cast<MainWindow*>(self)->OnCommand(GPOINTER_TO_UINT(g_object_get_data(G_OBJECT(item), kCommandKey)));
    });
}

void MainWindow::OnCommand(std::uint32_t command)
{
    switch (command) {
        case ID_OPEN_VOCABRA:
            Present();
            return;
        case ID_APP_ABOUT:
            m_about.Show();
            return;
        case ID_APP_EXIT:
            Exit();
            return;
        default:
            m_controller.OnMenuCommand(command);
    }
}

bool MainWindow::WatchHotKeys(bool wanted)
{
    if (!wanted) {
        m_hotKeys.Stop();
    } else if (!m_hotKeys.IsListening()) {
        GdkDisplay* display = gdk_display_get_default();
        m_hotKeys.Start(GDK_IS_X11_DISPLAY(display) ? gdk_display_get_name(display) : nullptr);
    }
    return m_hotKeys.IsListening();
}

void MainWindow::SetTip(const std::u16string& tip)
{
    if (m_tray)
        m_tray->SetTip(text::Utf16ToUtf8(tip));
}

void MainWindow::MenuChanged()
{
    if (m_tray)
        m_tray->MenuChanged();
}

}  // namespace tray::gtk
