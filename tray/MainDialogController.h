#pragma once
// The main dialog's decisions, the same on both desktops: what its lists show and select, what a
// choice in them or in the tray menu stores, the hot keys and the tip that follows them, and when a
// word is translated. The dialog itself is a MainDialogView.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/config/Settings.h"
#include "foundation/text/Collation.h"
#include "translate/manager/TranslateManager.h"
#include "tray/DictionaryChoices.h"
#include "tray/LookupHistory.h"
#include "tray/MainDialogView.h"
#include "tray/RecentMenu.h"

namespace tray {

// The texts the controller shows, in the user's language.
struct MainDialogTexts {
    std::u16string programName;       // the tip before a service is known
    std::u16string trayTip;           // "%s (%s)": the direction, the service
    std::u16string hotKeysOff;        // the tip's note while the hot keys cannot be watched
    std::u16string settingNotStored;  // a choice whose settings write failed
    DictionaryMenuTexts menu;
    RecentMenuTexts recent;
    std::u16string clearHistoryQuestion;  // asked before the history is cleared
    std::u16string exportFailed;          // the export file could not be written
};

// The texts from the program's resources; `text` gives a string by its name in the .rc files
// (the Linux program's key) and by its id (the Windows program's).
using ResourceText = std::function<std::u16string(const char* name, unsigned id)>;
MainDialogTexts LoadMainDialogTexts(const ResourceText& text);

// The translation manager; throws TranslateException while it cannot be had, and is asked again
// at the next action, when the engine tries its initialisation again.
using ManagerSource = std::function<translate::manager::TranslateManager&()>;

// The tray menu's changing part: the hot keys' check marks and the dictionary items (none without
// a manager).
struct TrayMenuState {
    bool ctrlInsIns = false;
    bool ctrlCC = false;
    std::optional<DictionaryMenu> dictionary;
};

class MainDialogController {
public:
    MainDialogController(MainDialogView& view,
                         Settings& settings,
                         ManagerSource manager,
                         MainDialogTexts texts,
                         KeptHistory history = {},
                         text::Collation collation = text::Collation());

    // The dialog's controls exist: fills them, offers the history's words, and watches the hot keys
    // the settings ask for.
    void Start();
    // Exit: no translation starts from now on.
    void Stop();

    // The dialog's lists and check box; the index is the one the item was given.
    void OnDirectionChosen(std::size_t index);
    void OnServiceChosen(std::size_t index);
    void OnOpenInBrowserChecked(bool inBrowser);
    // A tray menu command, the history's included; false when it is the front-end's own (open,
    // about, exit) or unknown.
    bool OnMenuCommand(std::uint32_t command);
    // "Recent" comes before "Service"; its word items stand for the entries shown at this call.
    TrayMenuState MenuState();
    // The services in priority order, for their icons; none without a manager.
    std::vector<const translate::service::TranslateService*> Services();

    // Translate, or Enter in the word box: the word box's word, trimmed.
    void OnTranslate();
    // True when the double press of this key (kVirtualKeyC, kVirtualKeyInsert) is switched on,
    // and the front-end should read the clipboard.
    bool IsDoublePressOn(std::uint32_t virtualKey) const;
    // The clipboard's text after a double press or the desktop's shortcut.
    void OnClipboardText(std::u16string_view text);

private:
    void UpdateControls();
    void FillDirectionList(translate::manager::TranslateManager& manager, const translate::Direction& current);
    void FillServiceList(translate::manager::TranslateManager& manager, const translate::Direction& current);
    void UpdateHotKeys();
    void ShowTip();
    // Brings the controls back to the settings after a choice, and tells the user of a failed write.
    void AfterChoice(ChoiceResult result);

    // One translation: the word box's word in the current direction (an empty `word`, read when
    // the translation runs), or an earlier lookup again with its own direction and service.
    struct Lookup {
        std::u16string word;
        std::optional<translate::Direction> direction;
        std::u16string serviceId;
    };
    // Runs the lookup, and what is asked for while it waits; or queues it behind the running one.
    void Run(Lookup lookup);
    void Translate(const Lookup& lookup);

    void OnHistoryCommand(std::uint32_t command);
    void Remember(const std::u16string& word, const translate::Direction& direction, const std::u16string& serviceId);
    void ClearHistory();
    void ExportHistoryFile();
    // The history changed: it is kept, and the word box and the menu show it.
    void HistoryChanged();

    MainDialogView& m_view;
    Settings& m_settings;
    ManagerSource m_manager;
    MainDialogTexts m_texts;
    text::Collation m_collation;

    std::u16string m_serviceTip;
    bool m_hotKeysOff = false;  // wanted, but the front-end cannot watch them
    std::vector<DirectionItem> m_listedDirections;
    std::vector<std::pair<std::size_t, std::u16string>> m_listedServices;  // place and id
    bool m_updating = false;         // the controls are being filled: their changes are not choices
    bool m_translating = false;      // a translation waits, and the front-end dispatches events meanwhile
    std::optional<Lookup> m_queued;  // asked for while m_translating; the newest wins
    bool m_stopped = false;

    LookupHistory m_history;
    std::function<void(const std::vector<HistoryEntry>&)> m_saveHistory;
    std::vector<HistoryEntry> m_recentShown;  // the "Recent" items of the last menu, in order
};

}  // namespace tray
