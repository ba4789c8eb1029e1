// When a check is due: apart from the check itself, so that a program that only asks this (the
// desktop program, whose checks run in the lookup tool) links no HTTP client.
#include <ctime>

#include "update/UpdateCheck.h"

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

}  // namespace update
