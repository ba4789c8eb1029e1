#pragma once
// The Linux desktop program's main dialog and the owner of nearly all of its behaviour, as the
// main dialog is on Windows: the word, Translate, the direction and service lists, the tray icon
// and its menu, the hot keys, the answer windows and the update offer.

#include <gtk/gtk.h>

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "foundation/config/Settings.h"
#include "tray/gtk/AboutBox.h"
#include "tray/gtk/AnswerWindows.h"
#include "tray/gtk/GObjectPtr.h"
#include "tray/gtk/GlobalShortcutPortal.h"
#include "tray/gtk/HotKeyListener.h"
#include "tray/gtk/TrayIndicator.h"
#include "tray/gtk/UpdateQuestion.h"

namespace tray::gtk {

class MainWindow {
public:
    // Builds the hidden dialog, the tray icon and the lists, and starts listening to the hot keys.
    explicit MainWindow(GtkApplication* application);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Shows and raises the dialog.
    void Present();
    // The tray menu's Exit: stores the position, closes everything and ends the application.
    void Exit();

private:
    // MainWindow.cpp
    void BuildWidgets();
    void PlaceWindow();
    void StorePosition();
    void Hide();
    void ShowKeyNote();
    void StartShortcutPortal();
    static gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer self);
    static gboolean OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer self);

    // MainWindowLists.cpp
    void LoadServiceIcons();
    void UpdateControls();
    void FillDirections(const translate::Direction& current);
    void FillServices(const translate::Direction& current);
    // A choice in a list: `choose` (the index stored with the chosen item) says whether it changed.
    template <class Choose>
    void OnListChoice(GtkComboBox* combo, int indexColumn, Choose&& choose);
    static void OnDirectionChanged(GtkComboBox* combo, gpointer self);
    static void OnServiceChanged(GtkComboBox* combo, gpointer self);
    static void OnBrowserChoiceToggled(GtkToggleButton* check, gpointer self);

    // MainWindowTranslate.cpp
    void OnTranslate();
    void OnDoublePress(std::uint32_t virtualKey);
    void TranslateClipboard();
    static void OnClipboardText(GtkClipboard*, const gchar* text, gpointer self);

    // MainWindowMenu.cpp
    GtkWidget* BuildTrayMenu();
    void OnCommand(std::uint32_t command);
    static void OnMenuItem(GtkMenuItem* item, gpointer self);
    void UpdateHotKeyListener();
    void ShowTip();

    GtkApplication* m_application;
    Settings m_settings;
    GObjectPtr<GdkPixbuf> m_programIcon;
    std::string m_programIconPath;
    std::unordered_map<std::u16string, GObjectPtr<GdkPixbuf>> m_iconByService;
    std::unordered_map<std::u16string, std::string> m_iconPathByService;
    std::string m_currentIconPath;  // the current service's, handed to its answer windows

    OwnedWidget m_window;
    GtkWidget* m_wordEntry = nullptr;
    GtkWidget* m_directionCombo = nullptr;
    GtkWidget* m_dictionaryCombo = nullptr;
    GtkWidget* m_browserCheck = nullptr;
    GtkWidget* m_keyNote = nullptr;
    bool m_filling = false;  // the lists are being refilled: their change signals are not choices

    std::u16string m_serviceTip;
    bool m_hotKeysOff = false;  // wanted, but the keys cannot be seen on this display
    bool m_waylandDesktop = false;
    // Only under Wayland: the desktop's own shortcut that translates the clipboard.
    std::unique_ptr<GlobalShortcutPortal> m_shortcutPortal;
    std::unique_ptr<TrayIndicator> m_tray;
    HotKeyListener m_hotKeys;
    AnswerWindows m_answers;
    DesktopBrowserTarget m_browser;  // the services whose answers the user opens in the browser
    UpdateQuestion m_update;
    AboutBox m_about;
    bool m_exited = false;
};

}  // namespace tray::gtk
