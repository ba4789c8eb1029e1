#pragma once
// The program's registry key paired with the shipped Configuration.properties: a registry value,
// when present, overrides the matching shipped default.

#include <string>

#include "foundation/config/Properties.h"
#include "foundation/win32api/Handles.h"

// The key under HKEY_CURRENT_USER; from Vista on, Internet Explorer's low-integrity area.
std::u16string RegistryRootPath(bool vistaOrLater);

// GetModuleDirectory() followed by the relative path in string `stringId` (110-112).
std::u16string ConfigFilePath(unsigned stringId);

struct Settings {
    // Opens or creates the registry key, then loads Configuration.properties. Neither failure is
    // reported: a closed key reads every value as absent, a failed load leaves `config` empty.
    Settings();

    Win32::API::RegKey key;  // declared first so that it is closed after `config` is emptied
    Properties config;
};

// The process-wide table of translate_direction.properties, loaded on first use.
Properties& TranslateDirectionTable();
