#include "tray/UserSettings.h"

namespace tray {

translate::Direction GetCurrentDirection(const Win32::API::RegKey& key)
{
    translate::Direction direction;
    if (!key.GetString(u"dictionaryDirection", direction))
        direction = u"en-ru";
    return direction;
}

bool IsHotKeyOn(const Win32::API::RegKey& key, const char16_t* name)
{
    std::uint32_t value = 0;
    return !key.GetDWORD(name, value) || value == 1;
}

bool AreBothHotKeysOff(const Win32::API::RegKey& key)
{
    return !IsHotKeyOn(key, u"useCtrlInsIns") && !IsHotKeyOn(key, u"useCtrlCC");
}

bool IsOpenMainWindowOnTranslation(const Win32::API::RegKey& key)
{
    std::uint32_t value = 0;
    return key.GetDWORD(u"openMainWindowOnTranslation", value) && value == 1;
}

bool IsHistoryKept(const Win32::API::RegKey& key)
{
    std::uint32_t value = 0;
    return !key.GetDWORD(u"keepHistory", value) || value == 1;
}

bool SetHistoryKept(Win32::API::RegKey& key, bool keep)
{
    return key.SetDWORD(u"keepHistory", keep ? 1 : 0);
}

std::int32_t GetFavouriteCount(const Settings& settings)
{
    std::uint32_t count = 0;
    if (settings.key.GetDWORD(u"favourDictionaryCount", count))
        return static_cast<std::int32_t>(count);
    return settings.config.GetInt(u"favour.dictionary.count");
}

}  // namespace tray
