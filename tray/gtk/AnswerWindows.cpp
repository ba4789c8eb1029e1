#include "tray/gtk/AnswerWindows.h"

#include <glib.h>

#include "foundation/config/Environment.h"
#include "foundation/glib/CallbackGuard.h"
#include "foundation/text/Utf.h"
#include "translate/manager/TranslateException.h"

namespace tray::gtk {

bool OpenWithDesktop(std::string address)
{
    char program[] = "xdg-open";
    char* argv[] = {program, address.data(), nullptr};
    // Without G_SPAWN_DO_NOT_REAP_CHILD GLib reaps the child itself: no zombies in a program that
    // runs all session.
    return g_spawn_async(nullptr, argv, nullptr, G_SPAWN_SEARCH_PATH, nullptr, nullptr, nullptr, nullptr);
}

void DesktopBrowserTarget::ShowUrl(const std::u16string& url, const translate::Direction&,
                                   const translate::target::DisplaySettings&)
{
    if (!OpenWithDesktop(text::Utf16ToUtf8(url)))
        throw translate::TranslateException(u"Cannot navigate");
}

AnswerWindows::~AnswerWindows()
{
    CloseAll();
}

void AnswerWindows::Prepare()
{
    if (m_bound)
        return;
    m_bound = true;
    if (m_library.Load((GetModuleDirectory() + translate::target::kAnswerWindowLibraryName).c_str()))
        m_create = reinterpret_cast<translate::target::CreateAnswerWindowFunction>(
            m_library.GetSymbol(translate::target::kCreateAnswerWindowExport));
    if (!m_create)
        g_message("answer windows unavailable; answers open in the desktop's browser");
}

translate::target::RequestDisplayTarget* AnswerWindows::Open(const std::string& iconPath)
{
    Prepare();
    if (!m_create)
        return nullptr;
    translate::target::RequestDisplayTarget* window = m_create(iconPath.c_str(), &AnswerWindows::OnClosed, this);
    if (window)
        m_open.emplace_back(window);
    return window;
}

void AnswerWindows::Close(translate::target::RequestDisplayTarget* window)
{
    for (auto it = m_open.begin(); it != m_open.end(); ++it) {
        if (it->get() == window) {
            // Out of the list before it is disposed, so that a call back from Dispose finds nothing.
            OpenWindow closing = std::move(*it);
            m_open.erase(it);
            return;
        }
    }
}

void AnswerWindows::OnClosed(translate::target::RequestDisplayTarget* window, void* context)
{
    // Called from the answer window library's GTK callback: nothing may be thrown back into it.
    glib::GuardCallback("an answer window closed",
                        [window, context] { static_cast<AnswerWindows*>(context)->Close(window); });
}

void AnswerWindows::CloseAll()
{
    std::list<OpenWindow> closing;
    closing.swap(m_open);
}

}  // namespace tray::gtk
