#pragma once
// The tray icon's tip: the current direction and service, and, while the keyboard hook cannot be
// had, the note that the hot keys are off. The note comes first, so that the shell's cut of long
// tips (127 characters) never takes it.

#include <string>

namespace tray {

std::u16string TrayTipText(const std::u16string& serviceTip, bool hotKeysOff, const std::u16string& hotKeysOffNote);

}  // namespace tray
