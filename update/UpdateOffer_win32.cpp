#include "update/UpdateOffer.h"

#include <windows.h>

#include <shellapi.h>

#include <atomic>

#include "foundation/config/Environment.h"
#include "foundation/threads/PumpingWait_win32.h"
#include "foundation/win32api/WideChar_win32.h"
#include "update/UpdateCheck.h"

namespace update {
namespace {
using threads::PumpedWork;
using threads::RunWhilePumping;

using Win32::API::Wide;

// The request's own limit, and time for the thread to get there and back.
constexpr std::chrono::milliseconds kCheckWaitLimit = kCheckTimeLimit + std::chrono::seconds(5);

void AskAndOpen(HWND owner)
{
    const std::u16string question = LoadResourceString(IDS_UPDATE_QUESTION);
    const std::u16string caption = LoadResourceString(IDS_UPDATE_CAPTION);
    if (::MessageBoxW(owner, Wide(question), Wide(caption), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    const std::u16string link = GetUpdateLink();
    ::ShellExecuteW(nullptr, L"open", Wide(link), nullptr, nullptr, SW_SHOWNORMAL);
}

// Set while an offer runs, question included: a translation that arrives meanwhile (a hot key,
// the dialog) must not start a second check or a second question.
class OfferInProgress {
public:
    OfferInProgress() : m_entered(!s_running.exchange(true)) {}
    ~OfferInProgress()
    {
        if (m_entered)
            s_running = false;
    }
    OfferInProgress(const OfferInProgress&) = delete;
    OfferInProgress& operator=(const OfferInProgress&) = delete;

    bool Entered() const { return m_entered; }

private:
    static inline std::atomic<bool> s_running{false};
    bool m_entered;
};
}  // namespace

OfferOutcome RunUpdateOffer(HWND owner, const OfferSteps& steps)
{
    const OfferInProgress offer;
    if (!offer.Entered())
        return OfferOutcome::AlreadyRunning;
    if (!steps.due())
        return OfferOutcome::NotDue;

    const PumpedWork checked = RunWhilePumping(steps.check, steps.limit, steps.filter);
    switch (checked.end) {
        case PumpedWork::End::NotStarted:
            return OfferOutcome::NotChecked;
        case PumpedWork::End::Quit:
            return OfferOutcome::Interrupted;
        case PumpedWork::End::TimedOut:
            return OfferOutcome::TimedOut;
        case PumpedWork::End::Finished:
            break;
    }
    if (owner && !::IsWindow(owner))
        return OfferOutcome::Interrupted;
    // A check that failed by throwing has nothing to offer either.
    if (checked.result.value_or(true))
        return OfferOutcome::NothingToOffer;
    steps.ask(owner);
    return OfferOutcome::Asked;
}

void OfferUpdate(HWND owner, const Win32::API::RegKey& settings, const MessageFilter& filter)
{
    OfferSteps steps;
    steps.due = [&settings] { return IsCheckDue(settings, CurrentTime()); };
    steps.check = [] { return CheckForUpdate(false); };
    steps.ask = &AskAndOpen;
    steps.filter = filter;
    steps.limit = kCheckWaitLimit;
    RunUpdateOffer(owner, steps);
}

}  // namespace update
