#pragma once
// The tray program's only top-level window: word, Translate, direction and dictionary lists. It
// owns the tray icon, receives the hot-key message and runs every translation.

#include <windows.h>

#include <cstddef>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "foundation/config/Settings.h"
#include "resources/Vocabra/resource.h"
#include "translate/target/Target.h"
#include "tray/win32/AnswerPlaces.h"
#include "tray/win32/DialogImpl.h"
#include "tray/win32/MessageLoop.h"
#include "tray/win32/TrayIconImpl.h"
#include "tray/win32/UiHandles.h"

namespace tray::app {

// A target of the embedded browser library, ended with its Dispose().
struct DisposeTarget {
    void operator()(translate::target::Target* target) const { target->Dispose(); }
};
using OpenTarget = std::unique_ptr<translate::target::Target, DisposeTarget>;

class CMainDlg final : public CDialogImpl<CMainDlg>,
                       public CTrayIconImpl<CMainDlg>,
                       public CMessageFilter,
                       public CIdleHandler {
public:
    static constexpr unsigned IDD = IDD_MAINDLG;

    // Opens the settings and binds the embedded browser library; never fails.
    CMainDlg();
    ~CMainDlg() override;

    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    bool PreTranslateMessage(MSG& message) override;
    bool OnIdle() override;
    void PrepareMenu(HMENU menu) override;

private:
    bool OnCommand(UINT id, UINT code);
    void OnInitDialog();
    void PlaceWindow();
    void LoadServiceIcons();
    void OnClose();
    void OnDestroy();
    void OnExit();
    void OnToggleHotKey(UINT command);
    // The hook installed while a hot key is on and removed when both are off; a hook the system
    // refuses is named in the tip.
    void UpdateKeyboardHook();
    void ShowTip();

    void OnTranslate();
    void OnTranslateHotKey(UINT virtualKey);
    // Where a request is shown: a new window of the embedded browser library, else none of our
    // own (Internet Explorer windows, as before Vista).
    static void BindEmbeddedBrowserLibrary();
    static void OnTargetClosed(translate::target::Target* target, void* context);
    // Disposes of one open target; the hidden dialog is minimised when it was the last.
    void DisposeTarget(translate::target::Target* target);
    void DisposeOpenTargets();
    // The translation now running, and the target it shows into: while it waits for a dialog
    // server, messages are dispatched, and the user may close that target or ask for another
    // translation. The target is then disposed of only when the translation has returned, and
    // the new request runs after it.
    class TranslationInProgress;

    void OnDirectionSelected(std::size_t index);
    void OnServiceSelected(std::size_t index);
    // The current service's answers in the web browser: as the check box says, or switched (none).
    void OnBrowserChoice(std::optional<bool> inBrowser);
    void UpdateControls();
    // Item data of the selected item of a list, or false when nothing is selected.
    bool SelectedItemData(HWND list, bool extended, std::size_t& data) const;

    // The edit control and m_word.
    bool MoveWordToEdit();
    void MoveWordFromEdit();

    Settings m_settings;
    IconHandle m_bigIcon;
    IconHandle m_smallIcon;
    std::vector<IconHandle> m_serviceIcons;  // owners of the icons m_iconByService names
    std::unordered_map<std::u16string, HICON> m_iconByService;
    ImageListHandle m_imageList;
    std::unordered_map<std::u16string, int> m_imageByService;
    std::u16string m_word;
    std::u16string m_serviceTip;  // the direction and service, as UpdateControls last set them
    bool m_hotKeysOff = false;    // wanted, but the system refused the hook
    HWND m_directionCombo = nullptr;
    HWND m_dictionaryCombo = nullptr;
    std::list<OpenTarget> m_openTargets;
    bool m_translating = false;
    bool m_translateAgain = false;  // asked for while m_translating
    translate::target::Target* m_targetInUse = nullptr;
    bool m_targetInUseClosed = false;
    AnswerPlaces m_answerPlaces;
    // The monitor the user worked on when a hot key asked for the translation about to run.
    std::optional<translate::target::MonitorArea> m_requestMonitor;
};

}  // namespace tray::app
