#pragma once
// The size the user last gave a service's answer window, kept under the program's settings key as
// serviceId + ".answerWidth" and serviceId + ".answerHeight" (REG_DWORD, 96-DPI units).

#include <optional>
#include <string>

#include "foundation/win32api/Handles.h"
#include "translate/target/AnswerPlacement.h"

namespace tray {

// Sides outside these bounds are damage, not a user's choice: they read as no remembered size.
constexpr std::int32_t kSmallestAnswerSide = 50;
constexpr std::int32_t kLargestAnswerSide = 20000;

// Both values present, of type REG_DWORD and within the bounds; otherwise none.
std::optional<translate::target::LogicalSize> RememberedAnswerSize(const Win32::API::RegKey& settings,
                                                                   const std::u16string& serviceId);
// Stores both values; a size outside the bounds (a minimised window, say) leaves the stored one.
void RememberAnswerSize(Win32::API::RegKey& settings,
                        const std::u16string& serviceId,
                        translate::target::LogicalSize size);

}  // namespace tray
