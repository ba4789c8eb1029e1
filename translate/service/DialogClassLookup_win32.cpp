#include <windows.h>
#include <objbase.h>

#include <cstring>

#include "translate/service/DialogClasses.h"

namespace translate::service {

static_assert(sizeof(CLSID) == sizeof(target::ClassId), "a class id is a GUID");

bool LookupDialogClass(const std::u16string& progId, target::ClassId& clsid)
{
    CLSID found{};
    if (FAILED(CLSIDFromProgID(reinterpret_cast<LPCOLESTR>(progId.c_str()), &found)))
        return false;
    std::memcpy(&clsid, &found, sizeof found);
    return true;
}

}  // namespace translate::service
