#include "tray/gtk/DesktopStrings.h"

#include "foundation/text/Utf.h"
#include "tray/DictionaryChoices.h"

namespace tray::gtk {
namespace {
struct DesktopString {
    const char* key;
    const char* english;
    const char* russian;
};

constexpr DesktopString kStrings[] = {
#include "DesktopStrings.inc"
};
}  // namespace

const char* DesktopText(std::string_view key, UiLanguage language)
{
    for (const DesktopString& text : kStrings) {
        if (key == text.key)
            return language == UiLanguage::Russian ? text.russian : text.english;
    }
    return key.data();
}

const char* DesktopText(std::string_view key)
{
    return DesktopText(key, GetTextLanguage());
}

std::string DesktopText(std::string_view key, const std::string& first, const std::string& second)
{
    return text::Utf16ToUtf8(
        FillPlaces(text::Utf8ToUtf16(DesktopText(key)), text::Utf8ToUtf16(first), text::Utf8ToUtf16(second)));
}

}  // namespace tray::gtk
