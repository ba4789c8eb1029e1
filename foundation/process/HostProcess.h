#pragma once
// Whether the running process is Internet Explorer's executable.

#include <string_view>

// Computed on the first call (logging "Attached to <path>" when logging is on), then cached.
bool IsInternetExplorerHost();

// The rule on its own: true for a path without a separator, else whether its last part is
// "iexplore.exe" in any letter case.
bool IsInternetExplorerPath(std::u16string_view modulePath);
