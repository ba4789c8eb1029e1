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
#include "tray/MainDialogView.h"

namespace tray {

// The texts the controller shows, in the user's language.
struct MainDialogTexts {
    std::u16string programName;       // the tip before a service is known
    std::u16string trayTip;           // "%s (%s)": the direction, the service
    std::u16string hotKeysOff;        // the tip's note while the hot keys cannot be watched
    std::u16string settingNotStored;  // a choice whose settings write failed
    DictionaryMenuTexts menu;
};

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
                         text::Collation collation = text::Collation());

    // The dialog's controls exist: fills them and watches the hot keys the settings ask for.
    void Start();
    // Exit: no translation starts from now on.
    void Stop();

    // The dialog's lists and check box; the index is the one the item was given.
    void OnDirectionChosen(std::size_t index);
    void OnServiceChosen(std::size_t index);
    void OnOpenInBrowserChecked(bool inBrowser);
    // A tray menu command; false when it is the front-end's own (open, about, exit) or unknown.
    bool OnMenuCommand(std::uint32_t command);
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
    void Translate(const std::u16string& word);

    MainDialogView& m_view;
    Settings& m_settings;
    ManagerSource m_manager;
    MainDialogTexts m_texts;
    text::Collation m_collation;

    std::u16string m_serviceTip;
    bool m_hotKeysOff = false;  // wanted, but the front-end cannot watch them
    std::vector<DirectionItem> m_listedDirections;
    std::vector<std::pair<std::size_t, std::u16string>> m_listedServices;  // place and id
    bool m_updating = false;        // the controls are being filled: their changes are not choices
    bool m_translating = false;     // a translation waits, and the front-end dispatches events meanwhile
    bool m_translateAgain = false;  // asked for while m_translating
    bool m_stopped = false;
};

}  // namespace tray
