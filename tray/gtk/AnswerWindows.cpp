#include "tray/gtk/AnswerWindows.h"

#include <glib.h>

#include "foundation/config/Environment.h"
#include "foundation/glib/CallbackGuard.h"
#include "foundation/text/Utf.h"
#include "translate/manager/TranslateException.h"
#include "tray/AnswerSizes.h"
#include "tray/AnswerZoom.h"

namespace tray::gtk {

namespace {
unsigned PrepareSeconds()
{
    guint64 seconds = kPrepareSeconds;
    const char* given = g_getenv("VOCABRA_PREPARE_SECONDS");
    if (given && !g_ascii_string_to_unsigned(given, 10, 0, G_MAXUINT, &seconds, nullptr))
        seconds = kPrepareSeconds;
    return static_cast<unsigned>(seconds);
}
}  // namespace

bool OpenWithDesktop(std::string address)
{
    char program[] = "xdg-open";
    char* argv[] = {program, address.data(), nullptr};
    // Without G_SPAWN_DO_NOT_REAP_CHILD GLib reaps the child itself: no zombies in a program that
    // runs all session.
    return g_spawn_async(nullptr, argv, nullptr, G_SPAWN_SEARCH_PATH, nullptr, nullptr, nullptr, nullptr);
}

void DesktopBrowserTarget::ShowUrl(const std::u16string& url,
                                   const translate::Direction&,
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
    m_prepareTimer.Reset();
    if (m_library.Load((GetModuleDirectory() + translate::target::kAnswerWindowLibraryName).c_str())) {
        m_create = reinterpret_cast<translate::target::CreateAnswerWindowFunction>(
            m_library.GetSymbol(translate::target::kCreateAnswerWindowExport));
        m_createRemembering = reinterpret_cast<translate::target::CreateRememberingAnswerWindowFunction>(
            m_library.GetSymbol(translate::target::kCreateRememberingAnswerWindowExport));
    }
    if (!m_create && !m_createRemembering)
        g_message("answer windows unavailable; answers open in the desktop's browser");
}

void AnswerWindows::PrepareWhenIdle()
{
    if (m_bound)
        return;
    // At low priority: a key or a click that comes at the same moment goes first.
    m_prepareTimer = glib::SourceId(
        g_timeout_add_seconds_full(G_PRIORITY_LOW, PrepareSeconds(), &AnswerWindows::OnPrepareTime, this, nullptr));
}

gboolean AnswerWindows::OnPrepareTime(gpointer self)
{
    auto* answers = static_cast<AnswerWindows*>(self);
    answers->m_prepareTimer.Forget();  // this source ends with the call
    glib::GuardCallback("preparing the answer windows", [answers] { answers->Prepare(); });
    return G_SOURCE_REMOVE;
}

translate::target::RequestDisplayTarget* AnswerWindows::Open(const std::string& iconPath,
                                                             const std::u16string& serviceId)
{
    Prepare();
    auto opened = std::make_unique<OpenWindow>(OpenWindow{this, serviceId, nullptr});
    if (m_createRemembering) {
        translate::target::AnswerWindowMemory remembered{sizeof(translate::target::AnswerWindowMemory), 0, 0, 0};
        remembered.zoomPercent = RememberedAnswerZoom(m_settings, serviceId).value_or(0);
        if (const auto size = RememberedAnswerSize(m_settings, serviceId)) {
            remembered.width = size->width;
            remembered.height = size->height;
        }
        opened->window.reset(m_createRemembering(iconPath.c_str(), &remembered, &AnswerWindows::OnClosed,
                                                 &AnswerWindows::OnChanged, opened.get()));
    } else if (m_create) {
        opened->window.reset(m_create(iconPath.c_str(), &AnswerWindows::OnClosed, opened.get()));
    }
    translate::target::RequestDisplayTarget* const window = opened->window.get();
    if (window)
        m_open.push_back(std::move(opened));
    return window;
}

void AnswerWindows::Close(translate::target::RequestDisplayTarget* window)
{
    for (auto it = m_open.begin(); it != m_open.end(); ++it) {
        if ((*it)->window.get() == window) {
            // Out of the list before it is disposed, so that a call back from Dispose finds nothing.
            std::unique_ptr<OpenWindow> closing = std::move(*it);
            m_open.erase(it);
            return;
        }
    }
}

void AnswerWindows::OnClosed(translate::target::RequestDisplayTarget* window, void* context)
{
    // Called from the answer window library's GTK callback: nothing may be thrown back into it.
    glib::GuardCallback("an answer window closed",
                        [window, context] { static_cast<OpenWindow*>(context)->owner->Close(window); });
}

void AnswerWindows::OnChanged(translate::target::RequestDisplayTarget*,
                              void* context,
                              const translate::target::AnswerWindowMemory* changed)
{
    glib::GuardCallback("an answer window changed", [context, changed] {
        const OpenWindow& opened = *static_cast<OpenWindow*>(context);
        Win32::API::RegKey& settings = opened.owner->m_settings;
        if (changed->zoomPercent > 0)
            RememberAnswerZoom(settings, opened.serviceId, changed->zoomPercent);
        if (changed->width > 0 && changed->height > 0)
            RememberAnswerSize(settings, opened.serviceId, {changed->width, changed->height});
    });
}

void AnswerWindows::CloseAll()
{
    std::list<std::unique_ptr<OpenWindow>> closing;
    closing.swap(m_open);
}

}  // namespace tray::gtk
