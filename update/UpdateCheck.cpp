#include "update/UpdateCheck.h"

#include <ctime>

#include "foundation/config/Environment.h"
#include "foundation/config/Settings.h"
#include "foundation/http/Connection.h"
#include "foundation/text/AnsiCodePage.h"
#include "update/WaitCursor.h"

namespace update {

bool CheckForUpdate(bool force)
{
    return CheckForUpdate(force, LoadResourceString(IDS_UPDATE_DOCUMENT_URL), CurrentTime());
}

bool CheckForUpdate(bool force,
                    const std::u16string& documentUrl,
                    std::int64_t now,
                    std::chrono::milliseconds timeLimit)
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
