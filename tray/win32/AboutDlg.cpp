#include "tray/win32/AboutDlg.h"

#include "update/UpdateCheck.h"

namespace tray::win32 {

bool CAboutDlg::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM /*lParam*/, LRESULT& result)
{
    switch (message) {
        case WM_INITDIALOG:
            ::SetDlgItemTextW(m_hWnd, IDC_VERSION_TEXT, Wide(update::GetVersionText()));
            result = TRUE;
            return true;
        case WM_COMMAND:
            if (HIWORD(wParam) != 0 || (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL))
                return false;
            ::EndDialog(m_hWnd, LOWORD(wParam) == IDOK ? 1 : 2);
            result = 0;
            return true;
        default:
            return false;
    }
}

void ShowAboutBox()
{
    CAboutDlg about;
    about.DoModal(nullptr);
}

}  // namespace tray::win32
