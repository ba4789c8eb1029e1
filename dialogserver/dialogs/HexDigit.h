#pragma once
// The value of one hexadecimal digit, for the escapes of addresses and script strings.

namespace dialogserver::dialogs {

// 0 to 15; -1 when `c` is no hexadecimal digit.
constexpr int HexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

}  // namespace dialogserver::dialogs
