// vocabra-info: reports what the foundation sees: version, program folder, language, the
// configuration files, the registry key and the log switch. A first look when something is off.
#include <cstdio>
#include <string>

#include "foundation/config/Environment.h"
#include "foundation/config/Settings.h"
#include "foundation/log/Log.h"
#include "foundation/process/FileVersion.h"
#include "foundation/text/Utf.h"

namespace {
void PrintLine(const char* label, const std::u16string& value)
{
    std::printf("%-22s %s\n", label, text::Utf16ToUtf8(value).c_str());
}

std::u16string VersionText()
{
    FixedFileInfo info{};
    if (!GetFileVersion(GetModuleFilePath(), info))
        return std::u16string();
    const std::string textual =
        std::to_string(info.dwFileVersionMS >> 16) + "." + std::to_string(info.dwFileVersionMS & 0xFFFF) + "." +
        std::to_string(info.dwFileVersionLS >> 16) + "." + std::to_string(info.dwFileVersionLS & 0xFFFF);
    return text::Utf8ToUtf16(textual);
}

std::u16string Loaded(const Properties& properties, bool loaded)
{
    return loaded ? u"loaded, " + text::Utf8ToUtf16(std::to_string(properties.Size())) + u" keys" : u"not readable";
}
}  // namespace

int main()
{
    PrintLine("version", VersionText());
    PrintLine("program folder", GetModuleDirectory());
    PrintLine("language", LoadResourceString(IDS_LANGUAGE_CODE));

    const std::u16string configuration = ConfigFilePath(IDS_CONFIGURATION_PATH);
    Properties configurationTable;
    const bool configurationLoaded = configurationTable.Load(configuration);
    PrintLine("configuration", configuration);
    PrintLine("", Loaded(configurationTable, configurationLoaded));
    const std::u16string directions = ConfigFilePath(IDS_TRANSLATE_DIRECTION_PATH);
    Properties directionTable;
    const bool directionsLoaded = directionTable.Load(directions);
    PrintLine("translate directions", directions);
    PrintLine("", Loaded(directionTable, directionsLoaded));

    Settings settings;
    PrintLine("registry key", u"HKEY_CURRENT_USER\\" + RegistryRootPath(IsVistaOrLater()));
    PrintLine("", settings.key.IsValid() ? u"open" : u"cannot be opened");
    std::u16string direction;
    PrintLine("dictionaryDirection",
              settings.key.GetString(u"dictionaryDirection", direction) ? direction : u"(absent)");
    std::u16string priority;
    PrintLine("dictionaryPriority", settings.key.GetString(u"dictionaryPriority", priority) ? priority : u"(absent)");

    Log log;
    PrintLine("log", log.IsEnabled() ? u"on: " + log.Path() : u"off");
    return 0;
}
