#include "foundation/text/AnsiCodePage.h"

#include <windows.h>

namespace text {

std::string ToAnsiCodePage(std::u16string_view wide)
{
    if (wide.empty())
        return std::string();
    const auto* source = reinterpret_cast<const wchar_t*>(wide.data());
    const int length = static_cast<int>(wide.size());
    const int size = WideCharToMultiByte(CP_THREAD_ACP, 0, source, length, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return std::string();
    std::string narrow(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_THREAD_ACP, 0, source, length, narrow.data(), size, nullptr, nullptr);
    return narrow;
}

std::u16string FromAnsiCodePage(std::string_view narrow)
{
    if (narrow.empty())
        return std::u16string();
    const int length = static_cast<int>(narrow.size());
    const int size = MultiByteToWideChar(CP_THREAD_ACP, 0, narrow.data(), length, nullptr, 0);
    if (size <= 0)
        return std::u16string();
    std::u16string wide(static_cast<std::size_t>(size), u'\0');
    MultiByteToWideChar(CP_THREAD_ACP, 0, narrow.data(), length, reinterpret_cast<wchar_t*>(wide.data()), size);
    return wide;
}

}  // namespace text
