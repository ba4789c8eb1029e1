#pragma once
// The foundation's UTF-16 strings (char16_t) at the Win32 boundary (wchar_t): on Windows both
// are 16-bit code units, so the conversion is a cast, not a copy.

#include <string>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 units");

namespace Win32::API {

inline const wchar_t* Wide(const char16_t* text)
{
    return reinterpret_cast<const wchar_t*>(text);
}

inline wchar_t* Wide(char16_t* text)
{
    return reinterpret_cast<wchar_t*>(text);
}

inline std::u16string FromWide(const wchar_t* text, std::size_t length)
{
    return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}

inline std::u16string FromWide(const wchar_t* text)
{
    return text ? FromWide(text, std::char_traits<wchar_t>::length(text)) : std::u16string();
}

inline const wchar_t* Wide(const std::u16string& text)
{
    return Wide(text.c_str());
}

inline std::u16string FromWide(const std::wstring& text)
{
    return FromWide(text.data(), text.size());
}

inline std::wstring ToWide(const std::u16string& text)
{
    return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}

}  // namespace Win32::API
