// The main dialog's templates as the system lays them out, in English and in Russian: every
// control inside the dialog, and the "open in my browser" check box wide enough for its text in
// the dialog's own font.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include <gtest/gtest.h>

#include "resources/Vocabra/resource.h"

namespace {

INT_PTR CALLBACK PlainDialog(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

// A hidden dialog made from the template of one language, destroyed with the object.
class TemplateDialog {
public:
    explicit TemplateDialog(LANGID language)
    {
        const HMODULE module = ::GetModuleHandleW(nullptr);
        const HRSRC found =
            ::FindResourceExW(module, MAKEINTRESOURCEW(5) /* RT_DIALOG */, MAKEINTRESOURCEW(IDD_MAINDLG), language);
        const HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
        const auto* dialogTemplate = loaded ? static_cast<const DLGTEMPLATE*>(::LockResource(loaded)) : nullptr;
        if (dialogTemplate)
            m_window = ::CreateDialogIndirectParamW(module, dialogTemplate, nullptr, &PlainDialog, 0);
    }
    ~TemplateDialog()
    {
        if (m_window)
            ::DestroyWindow(m_window);
    }
    TemplateDialog(const TemplateDialog&) = delete;
    TemplateDialog& operator=(const TemplateDialog&) = delete;

    HWND Get() const { return m_window; }

private:
    HWND m_window = nullptr;
};

// A control's rectangle in its dialog's client coordinates.
RECT InDialog(HWND dialog, HWND control)
{
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// How wide the control's text is drawn in the control's font (its access key's "&" not counted).
int TextWidth(HWND control)
{
    wchar_t text[256] = {};
    const int length = ::GetWindowTextW(control, text, 256);
    const HDC dc = ::GetDC(control);
    const HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT drawn{};
    ::DrawTextW(dc, text, length, &drawn, DT_CALCRECT | DT_SINGLELINE);
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
    return drawn.right - drawn.left;
}

TEST(MainDialogLayout, TheBrowserCheckBoxFitsInBothLanguages)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_USEREX_CLASSES | ICC_STANDARD_CLASSES};
    ASSERT_TRUE(::InitCommonControlsEx(&controls));
    for (const LANGID language :
         {MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT)}) {
        SCOPED_TRACE(testing::Message() << "language " << language);
        TemplateDialog dialog(language);
        ASSERT_NE(dialog.Get(), nullptr);
        RECT client{};
        ::GetClientRect(dialog.Get(), &client);

        for (const int id : {IDC_WORD, IDOK, IDC_DIRECTIONS, IDC_DICTIONARIES, IDC_OPEN_IN_BROWSER}) {
            const HWND control = ::GetDlgItem(dialog.Get(), id);
            ASSERT_NE(control, nullptr) << id;
            const RECT rect = InDialog(dialog.Get(), control);
            // The drop-down lists' rectangles are their closed fields.
            EXPECT_GE(rect.left, client.left) << id;
            EXPECT_GE(rect.top, client.top) << id;
            EXPECT_LE(rect.right, client.right) << id;
            EXPECT_LE(rect.bottom, client.bottom) << id;
        }

        const HWND check = ::GetDlgItem(dialog.Get(), IDC_OPEN_IN_BROWSER);
        const RECT services = InDialog(dialog.Get(), ::GetDlgItem(dialog.Get(), IDC_DICTIONARIES));
        const RECT box = InDialog(dialog.Get(), check);
        EXPECT_GE(box.top, services.bottom) << "the check box lies below the service list";
        EXPECT_EQ(::SendMessageW(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
        // The box's square and a gap before the text, as wide as a menu's check mark.
        const int square = ::GetSystemMetrics(SM_CXMENUCHECK) + ::GetSystemMetrics(SM_CXEDGE) * 2;
        EXPECT_LE(TextWidth(check) + square, box.right - box.left)
            << "text " << TextWidth(check) << " px in a box of " << box.right - box.left;
    }
}

}  // namespace
