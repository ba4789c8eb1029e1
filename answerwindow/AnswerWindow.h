#pragma once
// One answer window: a top-level GTK window filled by a web view. Nothing of it exists before the
// first answer is shown, so that a window that is never used costs no web engine.

#include <webkit2/webkit2.h>

#include <string>

#include "foundation/glib/GtkOwnership.h"
#include "translate/target/AnswerWindow.h"

namespace answerwindow {

class AnswerWindow final : public translate::target::RequestDisplayTarget {
public:
    AnswerWindow(const char* iconPath,
                 const translate::target::AnswerWindowMemory* remembered,
                 translate::target::AnswerWindowClosed closed,
                 translate::target::AnswerWindowChanged changed,
                 void* context);
    ~AnswerWindow();
    AnswerWindow(const AnswerWindow&) = delete;
    AnswerWindow& operator=(const AnswerWindow&) = delete;

    void ShowUrl(const std::u16string& url,
                 const translate::Direction& direction,
                 const translate::target::DisplaySettings& display) override;
    void Dispose() override;

private:
    void Open();
    void Place(std::int32_t width, std::int32_t height);
    void Report(translate::target::AnswerWindowMemory changed);
    // The size the user gave the window, if it differs from the one it was given.
    void ReportUsersSize();
    static gboolean OnCloseRequested(GtkWidget* window, GdkEvent* event, gpointer self);
    static void OnDestroyed(GtkWidget* window, gpointer self);

    std::string m_iconPath;
    translate::target::AnswerWindowMemory m_remembered{};
    translate::target::AnswerWindowClosed m_closed;
    translate::target::AnswerWindowChanged m_changed;
    void* m_context;
    std::int32_t m_placedWidth = 0;  // the size last given to the window, GTK's units
    std::int32_t m_placedHeight = 0;
    bool m_closedByUser = false;
    glib::OwnedWidget m_window;       // none before the first answer, and after the user closed it
    WebKitWebView* m_view = nullptr;  // the window's child
};

}  // namespace answerwindow
