#pragma once
// Wide text in the thread's ANSI code page (UTF-8 on POSIX); unmappable characters become the
// code page's default character.

#include <string>
#include <string_view>

namespace text {

std::string ToAnsiCodePage(std::u16string_view wide);
// 8-bit text in the thread's ANSI code page (UTF-8 on POSIX) as wide text.
std::u16string FromAnsiCodePage(std::string_view narrow);

}  // namespace text
