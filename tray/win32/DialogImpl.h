#pragma once
// A dialog window made from a template of the program, bound to a C++ object: T supplies IDD and
//     bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
// which returns true for a message it handled. The object's address travels in the creation
// parameter and is kept in the window's user data.

#include <windows.h>

#include "tray/win32/FailureLog.h"
#include "tray/win32/Resources.h"

namespace tray::win32 {

template <class T>
class CDialogImpl {
public:
    CDialogImpl() = default;
    CDialogImpl(const CDialogImpl&) = delete;
    CDialogImpl& operator=(const CDialogImpl&) = delete;

    // A modeless dialog; null when it could not be made.
    HWND Create(HWND owner)
    {
        const DLGTEMPLATE* dialog = FindDialogTemplate(T::IDD);
        if (!dialog)
            return nullptr;
        return ::CreateDialogIndirectParamW(ModuleInstance(), dialog, owner, &DialogProc,
                                            reinterpret_cast<LPARAM>(static_cast<T*>(this)));
    }

    // A modal dialog; the value given to EndDialog, or -1 when it could not be made.
    INT_PTR DoModal(HWND owner)
    {
        const DLGTEMPLATE* dialog = FindDialogTemplate(T::IDD);
        if (!dialog)
            return -1;
        return ::DialogBoxIndirectParamW(ModuleInstance(), dialog, owner, &DialogProc,
                                         reinterpret_cast<LPARAM>(static_cast<T*>(this)));
    }

    HWND m_hWnd = nullptr;

protected:
    ~CDialogImpl() = default;

private:
    // Messages whose result is the dialog procedure's own return value rather than DWLP_MSGRESULT.
    static bool ReturnsDirectly(UINT message)
    {
        switch (message) {
            case WM_INITDIALOG:
            case WM_CHARTOITEM:
            case WM_COMPAREITEM:
            case WM_CTLCOLORBTN:
            case WM_CTLCOLORDLG:
            case WM_CTLCOLOREDIT:
            case WM_CTLCOLORLISTBOX:
            case WM_CTLCOLORSCROLLBAR:
            case WM_CTLCOLORSTATIC:
            case WM_QUERYDRAGICON:
            case WM_VKEYTOITEM:
                return true;
            default:
                return false;
        }
    }

    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        T* self = nullptr;
        if (message == WM_INITDIALOG) {
            self = reinterpret_cast<T*>(lParam);
            ::SetWindowLongPtrW(window, DWLP_USER, lParam);
            self->m_hWnd = window;
        } else {
            self = reinterpret_cast<T*>(::GetWindowLongPtrW(window, DWLP_USER));
        }
        if (!self)
            return FALSE;

        INT_PTR answer = FALSE;
        // Nothing may unwind into the system's code: a handler that throws counts as unhandled.
        try {
            LRESULT result = 0;
            if (self->ProcessWindowMessage(message, wParam, lParam, result)) {
                if (ReturnsDirectly(message)) {
                    answer = static_cast<INT_PTR>(result);
                } else {
                    ::SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
                    answer = TRUE;
                }
            }
        } catch (...) {
            LogCaughtException("Exception in a window procedure: ");
            answer = FALSE;
        }
        if (message == WM_NCDESTROY) {
            ::SetWindowLongPtrW(window, DWLP_USER, 0);
            self->m_hWnd = nullptr;
        }
        return answer;
    }
};

}  // namespace tray::win32
