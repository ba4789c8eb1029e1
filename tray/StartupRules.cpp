#include "tray/StartupRules.h"

namespace tray {

StartupSwitches ParseStartupSwitches(const char16_t* commandLine)
{
    const std::u16string_view line = commandLine ? commandLine : u"";
    return StartupSwitches{line.find(u"/install") != std::u16string_view::npos,
                           line.find(u"/visible") != std::u16string_view::npos,
                           line.find(u"/exit") != std::u16string_view::npos};
}

std::u16string InstanceEventName(const std::u16string& userName)
{
    constexpr std::size_t kMaxName = 254;  // a 255-character buffer with its terminator
    std::u16string name = u"Vocabra:" + userName;
    if (name.size() > kMaxName)
        name.resize(kMaxName);
    return name;
}

DialogPlacement PlaceDialog(std::optional<std::uint32_t> storedX,
                            std::optional<std::uint32_t> storedY,
                            std::uint32_t screenWidth,
                            std::uint32_t screenHeight)
{
    const std::uint32_t x = storedX.value_or(0xFFFFFFFFu);
    if (x > screenWidth)
        return DialogPlacement{};
    const std::uint32_t y = storedY.value_or(0xFFFFFFFFu);
    if (y > screenHeight)
        return DialogPlacement{};
    return DialogPlacement{false, static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)};
}

bool ShouldStorePosition(std::int32_t left, std::int32_t top)
{
    return left > 0 && top > 0;
}

}  // namespace tray
