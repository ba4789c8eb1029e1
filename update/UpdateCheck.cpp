#include "update/UpdateCheck.h"

#include <ctime>

#include "foundation/config/Environment.h"
#include "foundation/config/Settings.h"
#include "foundation/http/Connection.h"
#include "foundation/text/AnsiCodePage.h"
#include "update/WaitCursor.h"

namespace update {
namespace {
constexpr std::uint32_t kSecondsPerDay = 86400;
}  // namespace

bool IsCheckDue(std::uint64_t lastCheck, std::uint32_t intervalDays, std::int64_t now)
{
    const std::uint32_t interval = intervalDays * kSecondsPerDay;  // wraps at 2^32 on purpose
    // Unsigned, so that a hand-edited huge time wraps instead of overflowing.
    const auto due = static_cast<std::int64_t>(lastCheck + interval);
    return now >= due;
}

bool IsCheckDue(const Win32::API::RegKey& settings, std::int64_t now)
{
    std::uint64_t lastCheck = 0;
    settings.GetQWORD(u"lastCheckForUpdateTime", lastCheck);
    std::uint32_t days = 1;
    if (!settings.GetDWORD(u"checkForUpdateInterval", days))
        days = 1;
    return IsCheckDue(lastCheck, days, now);
}

std::int64_t CurrentTime()
{
    return static_cast<std::int64_t>(std::time(nullptr));
}

bool CheckForUpdate(bool force)
{
    return CheckForUpdate(force, LoadResourceString(IDS_UPDATE_DOCUMENT_URL), CurrentTime());
}

bool CheckForUpdate(bool force, const std::u16string& documentUrl, std::int64_t now, std::chrono::milliseconds timeLimit)
{
    Settings settings;
    if (!force && !IsCheckDue(settings.key, now))
        return true;

    WaitCursor busy;
    // Stored before the request, so that a failed check counts as done too.
    settings.key.SetQWORD(u"lastCheckForUpdateTime", static_cast<std::uint64_t>(now));

    Win32::API::Connection connection;
    connection.SetDeadline(std::chrono::steady_clock::now() + timeLimit);
    std::string body;
    if (!connection.Get(documentUrl) || !connection.ReadResponse(body))
        return true;
    const std::u16string text = text::FromAnsiCodePage(body);
    if (text.empty())
        return true;
    const UpdateDocument document = ReadUpdateDocument(text);
    if (!document.matched)
        return true;
    if (!document.updateLink.empty())
        AcceptUpdateLink(document.updateLink);
    const std::u16string own = GetVersionText();
    if (!document.version.empty() && !own.empty())
        return document.version == own;
    return true;
}

}  // namespace update
