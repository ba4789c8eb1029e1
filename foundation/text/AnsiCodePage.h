#pragma once
// Wide text in the thread's ANSI code page (UTF-8 on POSIX); unmappable characters become the
// code page's default character.

#include <string>
#include <string_view>

namespace text {

std::string ToAnsiCodePage(std::u16string_view wide);

}  // namespace text
