#pragma once
// The tray program's only top-level window: word, Translate, direction and dictionary lists. It
// owns the tray icon, receives the hot-key message and the answer windows; what they all do is the
// main-dialog controller's, which this window's controls serve.

#include <windows.h>

#include <cstddef>
#include <functional>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "foundation/config/Settings.h"
#include "resources/Vocabra/resource.h"
#include "translate/target/Target.h"
#include "tray/HistorySaver.h"
#include "tray/MainDialogController.h"
#include "tray/win32/AnswerPlaces.h"
#include "tray/win32/DialogImpl.h"
#include "tray/win32/MessageLoop.h"
#include "tray/win32/TrayIconImpl.h"
#include "tray/win32/UiHandles.h"
#include "tray/win32/WordSuggestions.h"

namespace tray::win32 {

// A target of the embedded browser library, ended with its Dispose().
struct DisposeTarget {
    void operator()(translate::target::Target* target) const { target->Dispose(); }
};
using OpenTarget = std::unique_ptr<translate::target::Target, DisposeTarget>;

class CMainDlg final : public CDialogImpl<CMainDlg>,
                       public CTrayIconImpl<CMainDlg>,
                       public CMessageFilter,
                       public CIdleHandler,
                       public MainDialogView {
public:
    static constexpr unsigned IDD = IDD_MAINDLG;

    // Opens the settings and binds the embedded browser library; never fails.
    CMainDlg();
    ~CMainDlg() override;

    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    bool PreTranslateMessage(MSG& message) override;
    bool OnIdle() override;
    void PrepareMenu(HMENU menu) override;

    // MainDialogView
    void FillDirections(const std::vector<DirectionItem>& items) override;
    void SelectDirection(std::optional<std::size_t> row) override;
    void FillServices(const std::vector<ServiceChoice>& services) override;
    void SelectFirstService() override;
    void SetOpenInBrowserCheck(bool checked) override;
    void ShowServiceIcon(const std::u16string& serviceId) override;
    void SetTip(const std::u16string& tip) override;
    void MenuChanged() override {}  // the tray menu is made each time it opens
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
    bool OnCommand(UINT id, UINT code);
    void OnInitDialog();
    void PlaceWindow();
    void LoadServiceIcons();
    void OnClose();
    void OnDestroy();
    void OnExit();

    void OnTranslateHotKey(UINT virtualKey);
    // Where a request is shown: a new window of the embedded browser library, else none of our
    // own (Internet Explorer windows, as before Vista).
    static void BindEmbeddedBrowserLibrary();
    static void OnTargetClosed(translate::target::Target* target, void* context);
    // Disposes of one open target; the hidden dialog is minimised when it was the last.
    void DisposeTarget(translate::target::Target* target);
    void DisposeOpenTargets();
    // The target an answer is being shown into: while the engine waits for a dialog server,
    // messages are dispatched, and the user may close that target. It is then disposed of only
    // when the translation has returned.
    class TargetInUse;

    // Item data of the selected item of a list, or false when nothing is selected.
    bool SelectedItemData(HWND list, bool extended, std::size_t& data) const;
    // False when the edit control cannot take the text.
    bool ShowWord(const std::u16string& word);

    Settings m_settings;
    IconHandle m_bigIcon;
    IconHandle m_smallIcon;
    std::vector<IconHandle> m_serviceIcons;  // owners of the icons m_iconByService names
    std::unordered_map<std::u16string, HICON> m_iconByService;
    ImageListHandle m_imageList;
    std::unordered_map<std::u16string, int> m_imageByService;
    HWND m_directionCombo = nullptr;
    HWND m_dictionaryCombo = nullptr;
    std::list<OpenTarget> m_openTargets;
    translate::target::Target* m_targetInUse = nullptr;
    bool m_targetInUseClosed = false;
    AnswerPlaces m_answerPlaces;
    // The monitor the user worked on when a hot key asked for the translation about to run.
    std::optional<translate::target::MonitorArea> m_requestMonitor;
    WordSuggestions m_wordSuggestions;
    // Before the controller, which saves through it until it goes.
    HistorySaver m_historySaver;
    MainDialogController m_controller;
};

}  // namespace tray::win32
