#pragma once
// The zoom the user last chose in a service's answer window, kept under the program's settings
// key as serviceId + ".answerZoom" (REG_DWORD, percent), so that the service's next answer opens
// at it.

#include <cstdint>
#include <optional>
#include <string>

#include "foundation/win32api/Handles.h"

namespace tray {

// Zooms outside these bounds are damage, not a user's choice: they read as none.
constexpr std::uint32_t kSmallestAnswerZoom = 10;
constexpr std::uint32_t kLargestAnswerZoom = 1000;

// The value present, of type REG_DWORD and within the bounds; otherwise none.
std::optional<std::uint32_t> RememberedAnswerZoom(const Win32::API::RegKey& settings, const std::u16string& serviceId);
// Stores the zoom; one outside the bounds leaves the stored one.
void RememberAnswerZoom(Win32::API::RegKey& settings, const std::u16string& serviceId, std::uint32_t percent);

}  // namespace tray
