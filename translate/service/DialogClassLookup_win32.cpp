#include <windows.h>
#include <objbase.h>

#include "translate/service/DialogClasses.h"

namespace translate::service {

static_assert(sizeof(CLSID) == sizeof(target::ClassId), "a class id is a GUID");

bool LookupDialogClass(const std::u16string& progId, target::ClassId& clsid)
{
    CLSID found{};
    if (FAILED(CLSIDFromProgID(reinterpret_cast<LPCOLESTR>(progId.c_str()), &found)))
        return false;
    clsid.data1 = found.Data1;
    clsid.data2 = found.Data2;
    clsid.data3 = found.Data3;
    for (int i = 0; i < 8; ++i)
        clsid.data4[i] = found.Data4[i];
    return true;
}

}  // namespace translate::service
