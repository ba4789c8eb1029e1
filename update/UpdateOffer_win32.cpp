#include <windows.h>

#include <shellapi.h>

#include <atomic>

#include "foundation/config/Environment.h"
#include "update/PumpingWait_win32.h"
#include "update/UpdateCheck.h"
#include "update/UpdateOffer.h"

namespace update {
namespace {
const wchar_t* Wide(const std::u16string& text)
{
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

void AskAndOpen(HWND owner)
{
    const std::u16string question = LoadResourceString(IDS_UPDATE_QUESTION);
    const std::u16string caption = LoadResourceString(IDS_UPDATE_CAPTION);
    if (MessageBoxW(owner, Wide(question), Wide(caption), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    const std::u16string link = GetUpdateLink();
    ShellExecuteW(nullptr, L"open", Wide(link), nullptr, nullptr, SW_SHOWNORMAL);
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

OfferOutcome RunUpdateOffer(HWND owner, const std::function<bool()>& check, const std::function<void(HWND)>& ask)
{
    const OfferInProgress offer;
    if (!offer.Entered())
        return OfferOutcome::AlreadyRunning;

    bool nothingToOffer = true;
    bool quit = false;
    if (!RunWhilePumping([&] { nothingToOffer = check(); }, quit))
        return OfferOutcome::NotChecked;
    if (quit || (owner && !::IsWindow(owner)))
        return OfferOutcome::Interrupted;
    if (nothingToOffer)
        return OfferOutcome::NothingToOffer;
    ask(owner);
    return OfferOutcome::Asked;
}

void OfferUpdate(HWND owner)
{
    RunUpdateOffer(
        owner, [] { return CheckForUpdate(false); }, &AskAndOpen);
}

}  // namespace update
