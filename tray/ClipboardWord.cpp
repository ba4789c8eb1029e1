#include "tray/ClipboardWord.h"

#include "foundation/text/WhiteSpace.h"

namespace tray {

ClipboardFormat ChooseClipboardFormat(bool hasUnicodeText, bool hasAnsiText)
{
    if (hasUnicodeText)
        return ClipboardFormat::UnicodeText;
    return hasAnsiText ? ClipboardFormat::AnsiText : ClipboardFormat::None;
}

std::u16string CleanClipboardWord(std::u16string_view text)
{
    text = text.substr(0, text.find(u'\0'));
    return std::u16string(text::TrimLeft(text::TrimRight(text)));
}

}  // namespace tray
