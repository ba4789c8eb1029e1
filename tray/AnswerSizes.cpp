#include "tray/AnswerSizes.h"

namespace tray {
namespace {
std::u16string WidthName(const std::u16string& serviceId)
{
    return serviceId + u".answerWidth";
}

std::u16string HeightName(const std::u16string& serviceId)
{
    return serviceId + u".answerHeight";
}

bool IsPlausibleSide(std::int64_t side)
{
    return side >= kSmallestAnswerSide && side <= kLargestAnswerSide;
}

std::optional<std::int32_t> ReadSide(const Win32::API::RegKey& settings, const std::u16string& name)
{
    std::uint32_t value = 0;
    if (!settings.GetDWORD(name.c_str(), value) || !IsPlausibleSide(value))
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}
}  // namespace

std::optional<translate::target::LogicalSize> RememberedAnswerSize(const Win32::API::RegKey& settings,
                                                                   const std::u16string& serviceId)
{
    const auto width = ReadSide(settings, WidthName(serviceId));
    const auto height = ReadSide(settings, HeightName(serviceId));
    if (!width || !height)
        return std::nullopt;
    return translate::target::LogicalSize{*width, *height};
}

void RememberAnswerSize(Win32::API::RegKey& settings,
                        const std::u16string& serviceId,
                        translate::target::LogicalSize size)
{
    if (!IsPlausibleSide(size.width) || !IsPlausibleSide(size.height))
        return;
    settings.SetDWORD(WidthName(serviceId).c_str(), static_cast<std::uint32_t>(size.width));
    settings.SetDWORD(HeightName(serviceId).c_str(), static_cast<std::uint32_t>(size.height));
}

}  // namespace tray
