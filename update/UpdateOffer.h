#pragma once
// The question after a translation: when a check finds another version, ask the user and open
// the installer address on Yes.

#include <functional>

struct HWND__;

namespace update {

// Runs the check (CheckForUpdate, interval honoured) and, when it finds another version, asks
// with `owner` as the owner of the question. The check runs on a worker thread while this thread
// keeps dispatching messages (see RunWhilePumping); the call returns when everything is done.
void OfferUpdate(HWND__* owner);

// What one offer did.
enum class OfferOutcome {
    AlreadyRunning,  // called again while an offer was under way (from a message it dispatched)
    NotChecked,      // no worker thread could be started
    Interrupted,     // the program is quitting or the owner went away during the check
    NothingToOffer,
    Asked,
};

// OfferUpdate with its parts given: `check` returns CheckForUpdate's answer (true: nothing to
// offer); `ask` puts the question and acts on the answer.
OfferOutcome RunUpdateOffer(HWND__* owner, const std::function<bool()>& check, const std::function<void(HWND__*)>& ask);

}  // namespace update
