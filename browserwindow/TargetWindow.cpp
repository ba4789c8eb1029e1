#include "browserwindow/TargetWindow.h"

#include "browserwindow/AnswerKeys.h"
#include "browserwindow/BrowserEmulation.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace browserwindow {
namespace {
// This library's own module: its resources, not the program's.
HINSTANCE LibraryModule()
{
    return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

const DLGTEMPLATE* FindTemplate()
{
    const HMODULE module = LibraryModule();
    const HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(kTargetWindowTemplate), RT_DIALOG);
    const HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    return loaded ? static_cast<const DLGTEMPLATE*>(::LockResource(loaded)) : nullptr;
}
}  // namespace

std::unique_ptr<TargetWindow> TargetWindow::Open()
{
    const DLGTEMPLATE* dialog = FindTemplate();
    if (!dialog)
        return nullptr;
    // The newest document mode is asked for before the first control reads it.
    RequestNewestDocumentModeOnce();
    std::unique_ptr<TargetWindow> window(new TargetWindow());
    if (!::CreateDialogIndirectParamW(LibraryModule(), dialog, ::GetDesktopWindow(), &DialogProc,
                                      reinterpret_cast<LPARAM>(window.get())))
        return nullptr;
    ::ShowWindow(window->m_window, SW_SHOW);
    return window;
}

TargetWindow::~TargetWindow()
{
    if (m_window)
        ::DestroyWindow(m_window);
}

TargetWindow* TargetWindow::FromHandle(HWND window)
{
    // Ours when its dialog procedure is.
    if (::GetWindowLongPtrW(window, DWLP_DLGPROC) != reinterpret_cast<LONG_PTR>(&DialogProc))
        return nullptr;
    return reinterpret_cast<TargetWindow*>(::GetWindowLongPtrW(window, DWLP_USER));
}

void TargetWindow::SetCloseCallback(translate::target::TargetClosedCallback callback, void* context, Target* target)
{
    m_closeCallback = callback;
    m_closeContext = context;
    m_target = target;
}

INT_PTR CALLBACK TargetWindow::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    TargetWindow* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<TargetWindow*>(lParam);
        ::SetWindowLongPtrW(window, DWLP_USER, lParam);
        self->m_window = window;
    } else {
        self = reinterpret_cast<TargetWindow*>(::GetWindowLongPtrW(window, DWLP_USER));
    }
    if (!self)
        return FALSE;
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, DWLP_USER, 0);
        self->m_window = nullptr;
        return FALSE;
    }
    // Nothing may unwind into the system's code.
    try {
        return self->OnMessage(message, wParam, lParam) ? TRUE : FALSE;
    } catch (...) {
        return FALSE;
    }
}

bool TargetWindow::OnMessage(UINT message, WPARAM, LPARAM lParam)
{
    switch (message) {
        case WM_INITDIALOG:
            m_host = BrowserHost::Create(m_window);
            WatchKeys();
            return true;  // the system gives the focus
        case WM_SIZE:
            if (m_host)
                m_host->Resize();
            return true;
        case WM_CLOSE:
            OnClose();
            return true;
        case WM_DPICHANGED:
            FollowDpiChange(*reinterpret_cast<const RECT*>(lParam));
            return true;
        case WM_DESTROY:
            StopWatchingKeys();
            if (m_host) {
                m_host->Close();
                m_host.Reset();
            }
            return true;
        default:
            return false;
    }
}

void TargetWindow::Place(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height)
{
    m_placing = true;
    ::SetWindowPos(m_window, nullptr, left, top, width, height, SWP_NOZORDER);
    m_placing = false;
}

// Moved to a monitor of another DPI: the system's suggestion keeps the size the user sees. Bounds
// that Place gives were computed for the new monitor already, and scaling them again would be
// wrong.
void TargetWindow::FollowDpiChange(const RECT& suggested)
{
    if (m_placing)
        return;
    ::SetWindowPos(m_window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TargetWindow::OnClose()
{
    // A closed answer window is hidden at once; it goes when its owner disposes of its target.
    ::ShowWindow(m_window, SW_HIDE);
    if (!m_closeCallback || !m_target)
        return;
    const translate::target::TargetClosedCallback callback = m_closeCallback;
    Target* const target = m_target;
    void* const context = m_closeContext;
    SetCloseCallback(nullptr, nullptr, nullptr);
    // The owner may dispose of the target, and with it this window: nothing of it is touched after.
    callback(target, context);
}

}  // namespace browserwindow
