#pragma once
// The update offer after a translation: when a check is due it runs on a thread of its own, and
// the question comes back to the main thread; the tray program never waits for the network.

#include <gtk/gtk.h>

#include <memory>

#include "foundation/threads/BackgroundTask.h"
#include "foundation/win32api/Handles.h"

namespace tray::gtk {

class UpdateQuestion {
public:
    UpdateQuestion();
    ~UpdateQuestion();
    UpdateQuestion(const UpdateQuestion&) = delete;
    UpdateQuestion& operator=(const UpdateQuestion&) = delete;

    // Does nothing while an offer is under way or when no check is due.
    void Offer(const Win32::API::RegKey& settings);

private:
    void OnChecked(bool nothingToOffer);
    static void OnAnswer(GtkDialog* dialog, gint response, gpointer self);

    std::unique_ptr<threads::BackgroundTask> m_check;
    GtkWidget* m_question = nullptr;  // destroys itself on an answer
    // Held by the check's completion call, so that it finds out whether this object still exists.
    std::shared_ptr<UpdateQuestion*> m_self;
};

}  // namespace tray::gtk
