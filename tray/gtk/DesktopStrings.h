#pragma once
// The tray program's texts (strings, menu items, dialog texts) in the desktop's language, UTF-8,
// taken from the Windows program's resource scripts at build time.

#include <string>
#include <string_view>

#include "foundation/config/Environment.h"

namespace tray::gtk {

// The text under `key` (see cmake/desktop_strings.py for the keys); the key itself when it has none.
const char* DesktopText(std::string_view key, UiLanguage language);
const char* DesktopText(std::string_view key);

// A resource string with its "%s" places filled in order.
std::string DesktopText(std::string_view key, const std::string& first, const std::string& second = std::string());

}  // namespace tray::gtk
