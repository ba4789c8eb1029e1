#pragma once
// The user's settings as the tray program reads them: registry values with their defaults.

#include <cstdint>

#include "foundation/config/Settings.h"
#include "foundation/win32api/Handles.h"
#include "translate/manager/SupportedDirections.h"

namespace tray {

// "dictionaryDirection" when present (an existing empty value gives ""), else "en-ru".
translate::Direction GetCurrentDirection(const Win32::API::RegKey& key);

// A hot key ("useCtrlCC", "useCtrlInsIns") is on unless a DWORD other than 1 is stored.
bool IsHotKeyOn(const Win32::API::RegKey& key, const char16_t* name);
// Both hot keys switched off: the keyboard hook is not needed.
bool AreBothHotKeysOff(const Win32::API::RegKey& key);
// "openMainWindowOnTranslation" present and 1.
bool IsOpenMainWindowOnTranslation(const Win32::API::RegKey& key);
// "keepHistory": on unless a DWORD other than 1 is stored, like the hot keys.
bool IsHistoryKept(const Win32::API::RegKey& key);
// False when the write failed.
bool SetHistoryKept(Win32::API::RegKey& key, bool keep);
// "favourDictionaryCount", else "favour.dictionary.count" of the shipped configuration, else 0.
std::int32_t GetFavouriteCount(const Settings& settings);

}  // namespace tray
