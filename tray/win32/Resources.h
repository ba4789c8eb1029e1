#pragma once
// The program's own resources in the user-interface language, the one its strings are read in
// (Wine does not apply the thread's UI language to resource loading, so the language is chosen
// explicitly).

#include <windows.h>

#include <string>

#include "foundation/win32api/WideChar_win32.h"

namespace tray::win32 {

HINSTANCE ModuleInstance();

// The dialog template `id` in the user-interface language, else in any language; null if none.
const DLGTEMPLATE* FindDialogTemplate(unsigned id);

// A new menu made from menu resource `id`, chosen like the dialogs; null if there is none.
HMENU LoadLocalizedMenu(unsigned id);

// Icon `id` of the program at the given size; the caller destroys it.
HICON LoadProgramIcon(unsigned id, int width, int height);

// String `id` as a wide string for the system's calls.
std::wstring LoadWideString(unsigned id);

// Text and wide text at the system boundary (both are UTF-16 on Windows).
using Win32::API::FromWide;
using Win32::API::ToWide;
using Win32::API::Wide;

}  // namespace tray::win32
