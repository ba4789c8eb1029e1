#pragma once
// The question after a translation: when a check finds another version, ask the user and open
// the installer address on Yes.

#include <chrono>
#include <functional>

#include "foundation/threads/PumpingWait_win32.h"
#include "foundation/win32api/Handles.h"

struct HWND__;

namespace update {

using threads::MessageFilter;

// After a translation, with `owner` as the owner of the question. Whether a check is due is
// decided at once from the stored values under `settings`; only a due check starts a thread, and
// while it runs this thread keeps dispatching its messages through `filter`. Returns when the
// check and the question are over, when the program quits, or when the check overruns its time.
void OfferUpdate(HWND__* owner, const Win32::API::RegKey& settings, const MessageFilter& filter);

// What one offer did.
enum class OfferOutcome {
    NotDue,          // no check was due: nothing else happened
    AlreadyRunning,  // called again while an offer was under way (from a message it dispatched)
    NotChecked,      // no worker thread could be started
    Interrupted,     // the program is quitting or the owner went away during the check
    TimedOut,        // the check overran its time and was abandoned
    NothingToOffer,
    Asked,
};

// OfferUpdate in parts, so that tests can replace them.
struct OfferSteps {
    std::function<bool()> due;           // asked first, on the calling thread
    std::function<bool()> check;         // CheckForUpdate's answer (true: nothing to offer), on its own thread
    std::function<void(HWND__*)> ask;    // puts the question and acts on the answer
    MessageFilter filter;                // for the messages dispatched meanwhile
    std::chrono::milliseconds limit{0};  // how long the check may take
};
OfferOutcome RunUpdateOffer(HWND__* owner, const OfferSteps& steps);

}  // namespace update
