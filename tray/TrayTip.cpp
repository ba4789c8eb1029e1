#include "tray/TrayTip.h"

namespace tray {

std::u16string TrayTipText(const std::u16string& serviceTip, bool hotKeysOff, const std::u16string& hotKeysOffNote)
{
    if (!hotKeysOff || hotKeysOffNote.empty())
        return serviceTip;
    return serviceTip.empty() ? hotKeysOffNote : hotKeysOffNote + u"\n" + serviceTip;
}

}  // namespace tray
