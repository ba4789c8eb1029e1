#pragma once
// Splits a Windows command line into arguments as CommandLineToArgvW does: blanks separate,
// double quotes group, 2n backslashes before a quote give n and open or close a quoted part,
// 2n+1 give n and a literal quote; other backslashes are literal.

#include <string>
#include <string_view>
#include <vector>

namespace Win32::API {

std::vector<std::u16string> SplitCommandLine(std::u16string_view commandLine);

}  // namespace Win32::API
