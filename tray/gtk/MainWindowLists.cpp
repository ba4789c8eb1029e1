// The main dialog's two lists, its check box and icons: filled as the controller says, and the
// user's choices in them handed to it.
#include <optional>

#include "foundation/config/Environment.h"
#include "foundation/glib/CallbackGuard.h"
#include "foundation/text/Utf.h"
#include "tray/gtk/MainWindow.h"

namespace tray::gtk {
namespace {
constexpr int kServiceIconSize = 16;
// The list stores' columns.
constexpr int kDirectionName = 0;
constexpr int kDirectionIndex = 1;
constexpr int kServiceIcon = 0;
constexpr int kServiceName = 1;
constexpr int kServiceIndex = 2;

// The index stored with the selected item of a list; none when nothing is selected.
std::optional<guint> SelectedIndex(GtkComboBox* combo, int column)
{
    GtkTreeIter item;
    if (!gtk_combo_box_get_active_iter(combo, &item))
        return std::nullopt;
    guint index = 0;
    gtk_tree_model_get(gtk_combo_box_get_model(combo), &item, column, &index, -1);
    return index;
}

GtkListStore* StoreOf(GtkWidget* combo)
{
    return GTK_LIST_STORE(gtk_combo_box_get_model(GTK_COMBO_BOX(combo)));
}

// Gives the list `count` rows, each written by `setRow`, reusing the rows it has: a list emptied
// while it has the keyboard becomes insensitive and loses it.
template <class SetRow>
void RewriteRows(GtkListStore* store, std::size_t count, SetRow&& setRow)
{
    GtkTreeModel* model = GTK_TREE_MODEL(store);
    GtkTreeIter row;
    bool existing = gtk_tree_model_get_iter_first(model, &row);
    for (std::size_t i = 0; i < count; ++i) {
        if (!existing)
            gtk_list_store_append(store, &row);
        setRow(row, i);
        if (existing)
            existing = gtk_tree_model_iter_next(model, &row);
    }
    while (existing)
        existing = gtk_list_store_remove(store, &row);
}
}  // namespace

void MainWindow::LoadServiceIcons()
{
    const std::string folder = text::Utf16ToUtf8(GetModuleDirectory());
    for (const auto* service : m_controller.Services()) {
        const std::string path = folder + text::Utf16ToUtf8(service->m_icon);
        GdkPixbuf* icon = gdk_pixbuf_new_from_file_at_size(path.c_str(), kServiceIconSize, kServiceIconSize, nullptr);
        // A service without a readable icon shows the program's.
        if (!icon && m_programIcon)
            icon = GDK_PIXBUF(g_object_ref(m_programIcon.get()));
        m_iconByService[service->m_id].reset(icon);
        m_iconPathByService[service->m_id] = icon && icon != m_programIcon.get() ? path : m_programIconPath;
    }
}

void MainWindow::FillDirections(const std::vector<DirectionItem>& items)
{
    GtkListStore* store = StoreOf(m_directionCombo);
    RewriteRows(store, items.size(), [&](GtkTreeIter& row, std::size_t i) {
        gtk_list_store_set(store, &row, kDirectionName, text::Utf16ToUtf8(items[i].name).c_str(), kDirectionIndex,
                           static_cast<guint>(items[i].index), -1);
    });
}

void MainWindow::SelectDirection(std::optional<std::size_t> row)
{
    gtk_combo_box_set_active(GTK_COMBO_BOX(m_directionCombo), row ? static_cast<gint>(*row) : -1);
}

void MainWindow::FillServices(const std::vector<ServiceChoice>& services)
{
    GtkListStore* store = StoreOf(m_dictionaryCombo);
    RewriteRows(store, services.size(), [&](GtkTreeIter& row, std::size_t i) {
        const ServiceChoice& choice = services[i];
        const auto icon = m_iconByService.find(choice.service->m_id);
        gtk_list_store_set(store, &row, kServiceIcon, icon != m_iconByService.end() ? icon->second.get() : nullptr,
                           kServiceName, text::Utf16ToUtf8(choice.service->m_name).c_str(), kServiceIndex,
                           static_cast<guint>(choice.index), -1);
    });
}

void MainWindow::SelectFirstService()
{
    gtk_combo_box_set_active(GTK_COMBO_BOX(m_dictionaryCombo), 0);
}

void MainWindow::SetOpenInBrowserCheck(bool checked)
{
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(m_browserCheck), checked);
}

void MainWindow::ShowServiceIcon(const std::u16string& serviceId)
{
    const auto icon = m_iconByService.find(serviceId);
    GdkPixbuf* shown = icon != m_iconByService.end() && icon->second ? icon->second.get() : m_programIcon.get();
    const auto path = m_iconPathByService.find(serviceId);
    m_currentIconPath = path != m_iconPathByService.end() ? path->second : m_programIconPath;
    gtk_window_set_icon(GTK_WINDOW(m_window.get()), shown);
    if (m_tray)
        m_tray->SetIcon(shown, m_currentIconPath);
}

void MainWindow::OnDirectionChanged(GtkComboBox* combo, gpointer data)
{
    glib::GuardCallback("choosing a direction in the dialog", [combo, data] {
        if (const std::optional<guint> index = SelectedIndex(combo, kDirectionIndex))
            static_cast<MainWindow*>(data)->m_controller.OnDirectionChosen(*index);
    });
}

void MainWindow::OnServiceChanged(GtkComboBox* combo, gpointer data)
{
    glib::GuardCallback("choosing a service in the dialog", [combo, data] {
        if (const std::optional<guint> index = SelectedIndex(combo, kServiceIndex))
            static_cast<MainWindow*>(data)->m_controller.OnServiceChosen(*index);
    });
}

void MainWindow::OnBrowserChoiceToggled(GtkToggleButton* check, gpointer data)
{
    glib::GuardCallback("choosing the browser in the dialog", [check, data] {
        static_cast<MainWindow*>(data)->m_controller.OnOpenInBrowserChecked(gtk_toggle_button_get_active(check) !=
                                                                            FALSE);
    });
}

}  // namespace tray::gtk
