#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>

#include "foundation/config/Environment.h"
#include "foundation/text/Utf.h"

std::u16string GetModuleFilePath()
{
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof buffer)
        return std::u16string();
    std::u16string path = text::Utf8ToUtf16(std::string_view(buffer, static_cast<std::size_t>(length)));
    // The same limit as Windows' module file name: a longer path is refused, not cut.
    return path.size() <= kMaxPathLength ? path : std::u16string();
}

UiLanguage GetUiLanguage()
{
    // The first of these that is set decides, as for the C library's message catalogues.
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value)
            return std::strncmp(value, "ru", 2) == 0 ? UiLanguage::Russian : UiLanguage::English;
    }
    return UiLanguage::English;
}

std::u16string LoadResourceString(unsigned id, UiLanguage language)
{
    const bool russian = language == UiLanguage::Russian;
    switch (id) {
    case IDS_LOCALE_FOLDER: return russian ? u"locale/ru/" : u"locale/en/";
    case IDS_CONFIGURATION_PATH:
        return russian ? u"locale/ru/Configuration.properties" : u"locale/en/Configuration.properties";
    case IDS_TRANSLATE_DIRECTION_PATH:
        return russian ? u"locale/ru/translate_direction.properties" : u"locale/en/translate_direction.properties";
    case IDS_LANGUAGE_CODE: return russian ? u"ru" : u"en";
    case IDS_DIALOG_PROGID_PREFIX: return u"Vocabra.Dialog.";
    default: return std::u16string();
    }
}

bool IsVistaOrLater()
{
    return true;
}
