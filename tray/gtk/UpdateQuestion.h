#pragma once
// The update offer after a translation. When a check is due, the lookup tool beside the program
// makes it in a process of its own: the tray never waits for the network, and the HTTP and TLS
// libraries never sit in its memory.

#include <gtk/gtk.h>

#include <string>

#include "foundation/win32api/Handles.h"
#include "tray/gtk/GObjectPtr.h"

namespace tray::gtk {

class UpdateQuestion {
public:
    UpdateQuestion() = default;
    ~UpdateQuestion();
    UpdateQuestion(const UpdateQuestion&) = delete;
    UpdateQuestion& operator=(const UpdateQuestion&) = delete;

    // Does nothing while an offer is under way or when no check is due.
    void Offer(const Win32::API::RegKey& settings);

    // The link a check's report offers; empty when it offers none. The report is the lookup tool's
    // "update available: LINK" line; a link that is not a web address is never offered.
    static std::string OfferedLink(const std::string& report);

private:
    static void OnChecked(GObject* process, GAsyncResult* result, gpointer self);
    void Ask(const std::string& link);
    static void OnAnswer(GtkDialog* dialog, gint response, gpointer self);

    GObjectPtr<GCancellable> m_cancel;  // of the running check; none when no check runs
    GtkWidget* m_question = nullptr;    // destroyed on an answer
    std::string m_link;
};

}  // namespace tray::gtk
