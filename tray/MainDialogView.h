#pragma once
// What the main-dialog controller asks of a front-end: its controls, its tray icon, its answer
// windows and its messages. A view turns these calls into its controls and holds no rule.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "translate/manager/SupportedDirections.h"
#include "translate/target/Target.h"
#include "tray/DictionaryChoices.h"

namespace tray {

// One item of the direction list: the text shown and the direction's index in the manager's list.
struct DirectionItem {
    std::u16string name;
    std::size_t index = 0;

    bool operator==(const DirectionItem& other) const { return name == other.name && index == other.index; }
};

// One translation to show in an answer window: `show` hands the target to the engine.
struct AnswerRequest {
    std::u16string word;
    translate::Direction direction;
    std::u16string serviceId;  // the service that answers: its windows keep their size and zoom
    std::function<void(translate::target::Target&)> show;
};

class MainDialogView {
public:
    virtual ~MainDialogView() = default;

    // The direction list's items in this order, none selected.
    virtual void FillDirections(const std::vector<DirectionItem>& items) = 0;
    // The row selected in the direction list; none clears the selection.
    virtual void SelectDirection(std::optional<std::size_t> row) = 0;
    // The service list's items in this order; each keeps its `index` for the choice.
    virtual void FillServices(const std::vector<ServiceChoice>& services) = 0;
    virtual void SelectFirstService() = 0;
    virtual void SetOpenInBrowserCheck(bool checked) = 0;
    // The current service's icon on the dialog and the tray icon.
    virtual void ShowServiceIcon(const std::u16string& serviceId) = 0;
    virtual void SetTip(const std::u16string& tip) = 0;
    // A menu shown while the settings change is brought up to date.
    virtual void MenuChanged() = 0;
    // Starts or stops watching the hot keys; true when they are being watched now.
    virtual bool WatchHotKeys(bool wanted) = 0;

    virtual std::u16string Word() const = 0;
    virtual void SetWord(const std::u16string& word) = 0;
    // The words the word box offers as the user types, newest first.
    virtual void SetWordSuggestions(const std::vector<std::u16string>& words) = 0;
    // A hot key brought a word: the front-end notes where the user works, and shows the dialog
    // when `showDialog`.
    virtual void PrepareHotKeyAnswer(bool showDialog) = 0;
    // Shows a translation in a new answer window of the front-end's own.
    virtual void OpenAnswer(const AnswerRequest& request) = 0;
    // Lends `use` the target that opens answers in the user's web browser.
    virtual void UseBrowserTarget(const std::function<void(translate::target::Target&)>& use) = 0;
    // After a translation: the update check's offer, when it is due.
    virtual void OfferUpdate() = 0;
    // A message the user must see (a setting that could not be saved).
    virtual void ShowMessage(const std::u16string& text) = 0;
    // A yes-or-no question; true for yes.
    virtual bool Ask(const std::u16string& question) = 0;
    // The desktop's Save dialog for the history's export: the file chosen (UTF-8), none when the
    // user cancels.
    virtual std::optional<std::string> AskExportPath() = 0;
};

}  // namespace tray
