#pragma once
// The user's settings as the tray program reads them: registry values with their defaults.

#include "foundation/win32api/Handles.h"
#include "translate/manager/SupportedDirections.h"

namespace tray {

// "dictionaryDirection" when present (an existing empty value gives ""), else "en-ru".
translate::Direction GetCurrentDirection(const Win32::API::RegKey& key);

}  // namespace tray
