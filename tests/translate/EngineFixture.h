#pragma once
// A program folder of the test's own with a locale folder to fill, and a registry key to match.

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "foundation/config/Environment.h"
#include "foundation/config/Settings.h"
#include "tests/support/IsolatedProfile.h"

namespace testsupport {

class EngineTest : public IsolatedProfileTest {
protected:
    EngineTest()
    {
        const std::filesystem::path program = m_folder.Path() / "program";
        SetModuleDirectoryOverride(ToU16(program));
        m_locale = std::filesystem::path(GetModuleDirectory() + LoadResourceString(IDS_LOCALE_FOLDER));
        std::filesystem::create_directories(m_locale);
    }
    ~EngineTest() override
    {
        Settings settings;
        for (const char16_t* name : {u"dictionaryPriority", u"dictionaryDefaultDirections"})
            settings.key.DeleteValue(name);
        SetModuleDirectoryOverride(u"");
    }

    void WriteLocaleFile(const std::string& name, const std::string& content) const
    {
        WriteFileBytes(m_locale / name, content);
    }

    // A service definition with the given directions, parameters and display type.
    void WriteService(const std::string& file,
                      const std::string& name,
                      const std::string& directions,
                      const std::string& parameters,
                      const std::string& displayType = "popup",
                      const std::string& extra = "") const
    {
        WriteLocaleFile(
            file, "service.name=" + name + "\nservice.icon=icons/" + name + ".ico\nsupported.directions=" + directions +
                      "\ndictionary.direction.to.parameter=" + parameters + "\ndictionary.service.url=http://" + name +
                      ".test/q?l=%locale%&d=%direction%&w=%words%\ndictionary.display.type=" + displayType + "\n" +
                      extra);
    }

    // Configuration.properties listing "simple" services in priority order, each defined in its
    // id in lower case + ".properties".
    void WriteSimpleServices(const std::vector<std::string>& ids, const std::string& extra = "") const
    {
        std::string list;
        std::string definitions;
        for (const std::string& id : ids) {
            std::string file = id + ".properties";
            std::transform(file.begin(), file.end(), file.begin(), [](unsigned char c) { return std::tolower(c); });
            list += (list.empty() ? "" : ",") + id;
            definitions += "dictionary." + id + ".type=simple\n";
            definitions.append("dictionary.").append(id).append(".config=").append(file).append("\n");
        }
        WriteLocaleFile("Configuration.properties", "dictionaries=" + list + "\n" + extra + definitions);
    }

    static void SetRegistryString(const char16_t* name, const std::u16string& value)
    {
        Settings().key.SetString(name, value);
    }

    std::filesystem::path m_locale;
};

}  // namespace testsupport
