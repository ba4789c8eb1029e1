// TargetWindow::Target: the engine's handle on one answer window.
#include <memory>

#include "browserwindow/TargetWindow.h"

#include "VocabraHelper.h"
#include "browserwindow/CaughtInLibrary.h"

using Microsoft::WRL::ComPtr;

namespace browserwindow {

TargetWindow::Target::Target(std::unique_ptr<TargetWindow> window) : m_window(std::move(window)) {}

void TargetWindow::Target::ListenForClose(translate::target::TargetClosedCallback callback, void* context)
{
    if (m_window)
        m_window->SetCloseCallback(callback, context, this);
}

IWebBrowser2* TargetWindow::Target::GetBrowser()
{
    return m_window ? m_window->Browser() : nullptr;
}

bool TargetWindow::Target::IsEmbedded()
{
    return true;
}

void TargetWindow::Target::SetBounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height)
{
    if (m_window)
        m_window->Place(left, top, width, height);
}

void TargetWindow::Target::SetIcon(HICON__* icon)
{
    if (!m_window)
        return;
    ::SendMessageW(m_window->Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    ::SendMessageW(m_window->Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
}

void TargetWindow::Target::SetDialogHandler(IDispatch* handler)
{
    if (handler != m_dialogHandler.Get())
        m_dialogHandler = handler;
}

// The dialog server lets go of the window's browser first: early bound where the handler offers
// its vtable interface, else by name.
void TargetWindow::Target::DetachDialogHandler()
{
    if (!m_dialogHandler)
        return;
    ComPtr<IDictionaryDialog> early;
    if (SUCCEEDED(
            m_dialogHandler->QueryInterface(IID_IDictionaryDialog, reinterpret_cast<void**>(early.GetAddressOf())))) {
        early->Detach();
        return;
    }
    LPOLESTR name = const_cast<LPOLESTR>(L"Detach");
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(m_dialogHandler->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_SYSTEM_DEFAULT, &id)))
        return;
    DISPPARAMS none{};
    m_dialogHandler->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
}

void TargetWindow::Target::Dispose()
{
    // Freed when this function returns, whatever happens on the way.
    const std::unique_ptr<Target> self(this);
    // Disposal completes whatever the handler does: the caller is another module.
    try {
        DetachDialogHandler();
    } catch (...) {
        ReportToDebugger{}("Detaching the dialog handler: ");
    }
    m_window.reset();
    m_dialogHandler.Reset();
}

}  // namespace browserwindow
