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
        case IDS_LOCALE_FOLDER:
            return russian ? u"locale/ru/" : u"locale/en/";
        case IDS_CONFIGURATION_PATH:
            return russian ? u"locale/ru/Configuration.properties" : u"locale/en/Configuration.properties";
        case IDS_TRANSLATE_DIRECTION_PATH:
            return russian ? u"locale/ru/translate_direction.properties" : u"locale/en/translate_direction.properties";
        case IDS_LANGUAGE_CODE:
            return russian ? u"ru" : u"en";
        case IDS_DIALOG_PROGID_PREFIX:
            return u"Vocabra.Dialog.";
        case IDS_INSTALLER_URL:
            return text::Utf8ToUtf16(VOCABRA_INSTALLER_URL);
        case IDS_UPDATE_DOCUMENT_URL:
            return text::Utf8ToUtf16(VOCABRA_UPDATE_DOCUMENT_URL);
        case IDS_UPDATE_CAPTION:
            return russian ? u"\u041E\u0431\u043D\u043E\u0432\u043B\u0435\u043D\u0438\u0435 Vocabra..."
                           : u"Vocabra Update...";
        case IDS_UPDATE_QUESTION:
            return russian ? u"\u0412\u044B\u0448\u043B\u0430 \u043D\u043E\u0432\u0430\u044F "
                             u"\u0432\u0435\u0440\u0441\u0438\u044F Vocabra\n"
                             u"\u0425\u043E\u0442\u0438\u0442\u0435 \u043E\u0431\u043D\u043E\u0432\u0438\u0442\u044C "
                             u"\u0441\u0435\u0439\u0447\u0430\u0441 ?"
                           : u"New version of the Vocabra is available\nDo you want to update now ?";
        default:
            return std::u16string();
    }
}

bool IsVistaOrLater()
{
    return true;
}
