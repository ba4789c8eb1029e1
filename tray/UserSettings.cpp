#include "tray/UserSettings.h"

namespace tray {

translate::Direction GetCurrentDirection(const Win32::API::RegKey& key)
{
    translate::Direction direction;
    if (!key.GetString(u"dictionaryDirection", direction))
        direction = u"en-ru";
    return direction;
}

}  // namespace tray
