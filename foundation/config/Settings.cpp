#include "foundation/config/Settings.h"

#include "foundation/config/Environment.h"
#include "foundation/patterns/Singleton.h"

std::u16string RegistryRootPath(bool vistaOrLater)
{
    // From Vista on, both programs share Internet Explorer's low-integrity area, whatever the
    // integrity level of the process that opens it.
    return vistaOrLater ? u"Software\\Microsoft\\Internet Explorer\\LowRegistry\\Corvane\\Vocabra"
                        : u"Software\\Corvane\\Vocabra";
}

std::u16string ConfigFilePath(unsigned stringId)
{
    return GetModuleDirectory() + LoadResourceString(stringId);
}

Settings::Settings()
{
    key.Create(Win32::API::CurrentUserKey(), RegistryRootPath(IsVistaOrLater()).c_str());
    config.Load(ConfigFilePath(IDS_CONFIGURATION_PATH));
}

namespace {
struct TranslateDirectionProperties : Properties {
    TranslateDirectionProperties() : Properties(ConfigFilePath(IDS_TRANSLATE_DIRECTION_PATH)) {}
};
}  // namespace

Properties& TranslateDirectionTable()
{
    return patterns::Singleton<TranslateDirectionProperties>::GetInstance();
}
