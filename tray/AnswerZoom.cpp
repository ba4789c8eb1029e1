#include "tray/AnswerZoom.h"

namespace tray {
namespace {
std::u16string ZoomValueName(const std::u16string& serviceId)
{
    return serviceId + u".answerZoom";
}

bool WithinBounds(std::uint32_t percent)
{
    return percent >= kSmallestAnswerZoom && percent <= kLargestAnswerZoom;
}
}  // namespace

std::optional<std::uint32_t> RememberedAnswerZoom(const Win32::API::RegKey& settings, const std::u16string& serviceId)
{
    std::uint32_t percent = 0;
    if (!settings.GetDWORD(ZoomValueName(serviceId).c_str(), percent) || !WithinBounds(percent))
        return std::nullopt;
    return percent;
}

void RememberAnswerZoom(Win32::API::RegKey& settings, const std::u16string& serviceId, std::uint32_t percent)
{
    if (WithinBounds(percent))
        settings.SetDWORD(ZoomValueName(serviceId).c_str(), percent);
}

}  // namespace tray
