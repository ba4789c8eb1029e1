// The main dialog's two lists, its icons and tip, and the choices made in them.
#include <algorithm>
#include <utility>
#include <vector>

#include "foundation/config/Environment.h"
#include "foundation/glib/CallbackGuard.h"
#include "foundation/text/Utf.h"
#include "translate/manager/DictionaryManager.h"
#include "translate/manager/DirectionName.h"
#include "translate/manager/TranslateException.h"
#include "tray/DictionaryChoices.h"
#include "tray/OpenInBrowser.h"
#include "tray/UserSettings.h"
#include "tray/gtk/DesktopStrings.h"
#include "tray/gtk/MainWindow.h"

namespace tray::gtk {
namespace {
using translate::manager::DictionaryManager;

constexpr int kServiceIconSize = 16;

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
// The indexes stored with a list's items, in their order.
std::vector<guint> ListedIndexes(GtkComboBox* combo, int column)
{
    std::vector<guint> indexes;
    GtkTreeModel* model = gtk_combo_box_get_model(combo);
    GtkTreeIter item;
    for (bool more = gtk_tree_model_get_iter_first(model, &item); more; more = gtk_tree_model_iter_next(model, &item)) {
        guint index = 0;
        gtk_tree_model_get(model, &item, column, &index, -1);
        indexes.push_back(index);
    }
    return indexes;
}
}  // namespace

void MainWindow::LoadServiceIcons()
{
    const std::string folder = text::Utf16ToUtf8(GetModuleDirectory());
    try {
        for (const auto* service : DictionaryManager::GetInstance().GetServicesByPriority()) {
            const std::string path = folder + text::Utf16ToUtf8(service->m_icon);
            GdkPixbuf* icon = gdk_pixbuf_new_from_file_at_size(path.c_str(), kServiceIconSize, kServiceIconSize, nullptr);
            // A service without a readable icon shows the program's.
            if (!icon && m_programIcon)
                icon = GDK_PIXBUF(g_object_ref(m_programIcon.get()));
            m_iconByService[service->m_id].reset(icon);
            m_iconPathByService[service->m_id] = icon && icon != m_programIcon.get() ? path : m_programIconPath;
        }
    } catch (const translate::TranslateException&) {
    }
}

void MainWindow::UpdateControls()
{
    const translate::Direction direction = GetCurrentDirection(m_settings.key);
    const translate::service::TranslateService* current = nullptr;
    try {
        current = DictionaryManager::GetInstance().GetServiceFor(direction);
    } catch (const translate::TranslateException&) {
        return;  // nothing supports the direction: everything keeps its previous content
    }

    m_serviceTip = FillPlaces(text::Utf8ToUtf16(DesktopText("IDS_TRAY_TIP")), translate::GetDirectionName(direction),
                              current->m_name);
    const auto icon = m_iconByService.find(current->m_id);
    GdkPixbuf* shown = icon != m_iconByService.end() && icon->second ? icon->second.get() : m_programIcon.get();
    const auto path = m_iconPathByService.find(current->m_id);
    m_currentIconPath = path != m_iconPathByService.end() ? path->second : m_programIconPath;
    gtk_window_set_icon(GTK_WINDOW(m_window.get()), shown);
    if (m_tray) {
        m_tray->SetIcon(shown, m_currentIconPath);
        ShowTip();
    }

    m_filling = true;
    FillDirections(direction);
    FillServices(direction);
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(m_browserCheck), OpensInBrowser(m_settings.key, current->m_id));
    m_filling = false;
    if (m_tray)
        m_tray->MenuChanged();
}

void MainWindow::FillDirections(const translate::Direction& current)
{
    DictionaryManager& manager = DictionaryManager::GetInstance();
    // Sorted by the text shown, as the Windows list sorts itself.
    std::vector<std::pair<std::u16string, guint>> items;
    for (std::size_t i = 0; i < manager.m_directions.size(); ++i)
        items.emplace_back(translate::GetDirectionName(manager.m_directions[i]), static_cast<guint>(i));
    std::stable_sort(items.begin(), items.end(),
                     [](const auto& left, const auto& right) { return left.first < right.first; });

    std::vector<guint> order;
    for (const auto& item : items)
        order.push_back(item.second);
    GtkComboBox* combo = GTK_COMBO_BOX(m_directionCombo);
    GtkListStore* store = GTK_LIST_STORE(gtk_combo_box_get_model(combo));
    // Refilled only when the items change: a list refilled under the keyboard loses its place.
    if (order != ListedIndexes(combo, 1)) {
        gtk_list_store_clear(store);
        for (const auto& [name, index] : items)
            gtk_list_store_insert_with_values(store, nullptr, -1, 0, text::Utf16ToUtf8(name).c_str(), 1, index, -1);
    }
    gtk_combo_box_set_active(combo, -1);
    for (std::size_t row = 0; row < order.size(); ++row) {
        if (manager.m_directions[order[row]] == current)
            gtk_combo_box_set_active(combo, static_cast<gint>(row));
    }
}

void MainWindow::FillServices(const translate::Direction& current)
{
    const std::vector<ServiceChoice> choices = ServicesFor(DictionaryManager::GetInstance(), current);
    std::vector<guint> order;
    for (const ServiceChoice& choice : choices)
        order.push_back(static_cast<guint>(choice.index));
    GtkComboBox* combo = GTK_COMBO_BOX(m_dictionaryCombo);
    if (order == ListedIndexes(combo, 2)) {
        gtk_combo_box_set_active(combo, 0);
        return;
    }
    GtkListStore* store = GTK_LIST_STORE(gtk_combo_box_get_model(combo));
    gtk_list_store_clear(store);
    for (const ServiceChoice& choice : choices) {
        const auto icon = m_iconByService.find(choice.service->m_id);
        gtk_list_store_insert_with_values(store, nullptr, -1, 0,
                                          icon != m_iconByService.end() ? icon->second.get() : nullptr, 1,
                                          text::Utf16ToUtf8(choice.service->m_name).c_str(), 2,
                                          static_cast<guint>(choice.index), -1);
    }
    // The first service is the one a translation uses.
    gtk_combo_box_set_active(GTK_COMBO_BOX(m_dictionaryCombo), 0);
}

template <class Choose>
void MainWindow::OnListChoice(GtkComboBox* combo, int indexColumn, Choose&& choose)
{
    const std::optional<guint> index = SelectedIndex(combo, indexColumn);
    if (m_filling || !index)
        return;
    try {
        if (choose(*index))
            UpdateControls();
    } catch (const translate::TranslateException&) {
    }
}

void MainWindow::OnDirectionChanged(GtkComboBox* combo, gpointer data)
{
    glib::GuardCallback("choosing a direction in the dialog", [combo, data] {
        auto* self = static_cast<MainWindow*>(data);
        self->OnListChoice(combo, 1, [self](guint index) { return ChooseDirection(self->m_settings, index); });
    });
}

void MainWindow::OnServiceChanged(GtkComboBox* combo, gpointer data)
{
    glib::GuardCallback("choosing a service in the dialog", [combo, data] {
        auto* self = static_cast<MainWindow*>(data);
        self->OnListChoice(combo, 2, [self](guint index) {
            ChooseService(self->m_settings.key, index);
            return true;
        });
    });
}

void MainWindow::OnBrowserChoiceToggled(GtkToggleButton* check, gpointer data)
{
    glib::GuardCallback("choosing the browser in the dialog", [check, data] {
        auto* self = static_cast<MainWindow*>(data);
        if (self->m_filling)
            return;
        try {
            SetCurrentServiceOpensInBrowser(self->m_settings.key, DictionaryManager::GetInstance(),
                                            GetCurrentDirection(self->m_settings.key),
                                            gtk_toggle_button_get_active(check) != FALSE);
        } catch (const translate::TranslateException&) {
        }
        if (self->m_tray)
            self->m_tray->MenuChanged();
    });
}

}  // namespace tray::gtk
