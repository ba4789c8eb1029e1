#pragma once
// Whether a newer Vocabra is published: at most once per interval, after a translation.

#include <chrono>
#include <cstdint>
#include <string>

#include "foundation/win32api/Handles.h"

namespace update {

// The whole request of a check, head and body, ends within this time from its start.
constexpr std::chrono::seconds kCheckTimeLimit{30};

// True: nothing to offer (not due, failed, nothing usable, or the same version). False: the
// update document names a version other than the program's. `force` skips the interval.
bool CheckForUpdate(bool force);
// The same with the document address, the current time (seconds since 1970, UTC) and the time
// limit of the request given.
bool CheckForUpdate(bool force,
                    const std::u16string& documentUrl,
                    std::int64_t now,
                    std::chrono::milliseconds timeLimit = kCheckTimeLimit);

// Seconds since 1970-01-01 00:00 UTC.
std::int64_t CurrentTime();

// A check is due once `intervalDays` days have passed since `lastCheck`; the day count is
// multiplied in 32 bits, as stored settings always were.
bool IsCheckDue(std::uint64_t lastCheck, std::uint32_t intervalDays, std::int64_t now);
// The same from the values stored under the program's key: two reads, no file and no network.
bool IsCheckDue(const Win32::API::RegKey& settings, std::int64_t now);

// What an update document says; `matched` when either name was found on its root.
struct UpdateDocument {
    bool matched = false;
    std::u16string version;
    std::u16string updateLink;
};
UpdateDocument ReadUpdateDocument(const std::u16string& text);

// The address the offer opens: string 500 until a check brings another.
std::u16string GetUpdateLink();
void SetUpdateLink(const std::u16string& link);
// Whether an update document's link may be opened: an absolute http:// or https:// address with a
// host. Anything else (a local or UNC path, file:, javascript: or another handler) would have
// "Yes" start whatever a hostile update server names.
bool IsAcceptableUpdateLink(const std::u16string& link);
// SetUpdateLink for an acceptable link; anything else is logged and the held link stays.
bool AcceptUpdateLink(const std::u16string& link);

// "major.minor.build.revision" of the program's own file; "" when it has no version.
std::u16string GetVersionText();
std::u16string FormatVersionText(std::uint32_t fileVersionMS, std::uint32_t fileVersionLS);

}  // namespace update
