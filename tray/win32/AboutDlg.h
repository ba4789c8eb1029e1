#pragma once
// The About box: name, picture, version and disclaimer.

#include <windows.h>

#include "resources/Vocabra/resource.h"
#include "tray/win32/DialogImpl.h"

namespace tray::win32 {

class CAboutDlg final : public CDialogImpl<CAboutDlg> {
public:
    static constexpr unsigned IDD = IDD_ABOUTBOX;

    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
};

// Runs a new About box modally without an owner: the main dialog, the tray icon and the hot keys
// keep working meanwhile, and a second box may open on top of the first.
void ShowAboutBox();

}  // namespace tray::win32
