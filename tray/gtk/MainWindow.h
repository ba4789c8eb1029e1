#pragma once
// The Linux desktop program's main dialog: the word, Translate, the direction and service lists,
// the tray icon and its menu, the hot keys, the answer windows and the update offer. What they do
// is the main-dialog controller's; this window wires its controls to it.

#include <gtk/gtk.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

#include "foundation/config/Settings.h"
#include "tray/HistorySaver.h"
#include "tray/MainDialogController.h"
#include "tray/gtk/AboutBox.h"
#include "tray/gtk/AnswerWindows.h"
#include "tray/gtk/ClipboardReader.h"
#include "tray/gtk/GObjectPtr.h"
#include "tray/gtk/GlobalShortcutPortal.h"
#include "tray/gtk/HotKeyListener.h"
#include "tray/gtk/TrayIndicator.h"
#include "tray/gtk/UpdateQuestion.h"

namespace tray::gtk {

class MainWindow final : public MainDialogView {
public:
    // Builds the hidden dialog, the tray icon and the lists, and starts listening to the hot keys.
    explicit MainWindow(GtkApplication* application);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Shows and raises the dialog.
    void Present();
    // The tray menu's Exit: stores the position, closes everything and ends the application.
    void Exit();
    // Translates the clipboard's text, as the hot keys do. `activationToken`: the desktop's
    // permission to focus a window for it, where the request came with one (Wayland).
    void TranslateClipboard(const std::string& activationToken = {});

    // MainDialogView
    void FillDirections(const std::vector<DirectionItem>& items) override;
    void SelectDirection(std::optional<std::size_t> row) override;
    void FillServices(const std::vector<ServiceChoice>& services) override;
    void SelectFirstService() override;
    void SetOpenInBrowserCheck(bool checked) override;
    void ShowServiceIcon(const std::u16string& serviceId) override;
    void SetTip(const std::u16string& tip) override;
    void MenuChanged() override;
    bool WatchHotKeys(bool wanted) override;
    std::u16string Word() const override;
    void SetWord(const std::u16string& word) override;
    void PrepareHotKeyAnswer(bool showDialog) override;
    void OpenAnswer(const AnswerRequest& request) override;
    void UseBrowserTarget(const std::function<void(translate::target::Target&)>& use) override;
    void OfferUpdate() override;
    void ShowMessage(const std::u16string& text) override;
    void SetWordSuggestions(const std::vector<std::u16string>& words) override;
    bool Ask(const std::u16string& question) override;
    std::optional<std::string> AskExportPath() override;

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
    static void OnDirectionChanged(GtkComboBox* combo, gpointer self);
    static void OnServiceChanged(GtkComboBox* combo, gpointer self);
    static void OnBrowserChoiceToggled(GtkToggleButton* check, gpointer self);

    // MainWindowTranslate.cpp
    void OnDoublePress(std::uint32_t virtualKey);
    void OnClipboardText(const char* text, bool shownForIt);

    // MainWindowMenu.cpp
    GtkWidget* BuildTrayMenu();
    void OnCommand(std::uint32_t command);
    static void OnMenuItem(GtkMenuItem* item, gpointer self);

    GtkApplication* m_application;
    Settings m_settings;
    GObjectPtr<GdkPixbuf> m_programIcon;
    std::string m_programIconPath;
    std::unordered_map<std::u16string, GObjectPtr<GdkPixbuf>> m_iconByService;
    std::unordered_map<std::u16string, std::string> m_iconPathByService;
    std::string m_currentIconPath;  // the current service's, handed to its answer windows

    OwnedWidget m_window;
    GtkWidget* m_wordEntry = nullptr;
    GObjectPtr<GtkListStore> m_wordSuggestions;  // the word box's completion
    GtkWidget* m_directionCombo = nullptr;
    GtkWidget* m_dictionaryCombo = nullptr;
    GtkWidget* m_browserCheck = nullptr;
    GtkWidget* m_keyNote = nullptr;
    // After the window: it uses the window until it goes.
    std::unique_ptr<ClipboardReader> m_clipboard;
    bool m_shownForAnswer = false;  // the controller asked for the dialog with the answer

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
    // Before the controller, which saves through it until it goes.
    HistorySaver m_historySaver;
    MainDialogController m_controller;
};

}  // namespace tray::gtk
