#include "foundation/text/AnsiCodePage.h"

#include "foundation/text/Utf.h"

namespace text {

std::string ToAnsiCodePage(std::u16string_view wide)
{
    return Utf16ToUtf8(wide);
}

std::u16string FromAnsiCodePage(std::string_view narrow)
{
    return Utf8ToUtf16(narrow);
}

}  // namespace text
