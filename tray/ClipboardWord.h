#pragma once
// Which clipboard text the hot key translates, and how it is cleaned.

#include <string>
#include <string_view>

namespace tray {

enum class ClipboardFormat { None, UnicodeText, AnsiText };

// Unicode text first: the 8-bit form the system derives from it turns every character outside
// the ANSI code page (Cyrillic on an English system) into "?".
ClipboardFormat ChooseClipboardFormat(bool hasUnicodeText, bool hasAnsiText);

// The text up to its first zero, trimmed at the end and then at the start.
std::u16string CleanClipboardWord(std::u16string_view text);

}  // namespace tray
