#include <objbase.h>
#include <windows.h>

#include "translate/service/DialogClasses.h"
#include "translate/target/ClassId_win32.h"

namespace translate::service {

bool LookupDialogClass(const std::u16string& progId, target::ClassId& clsid)
{
    CLSID found{};
    if (FAILED(CLSIDFromProgID(reinterpret_cast<LPCOLESTR>(progId.c_str()), &found)))
        return false;
    clsid = target::FromClsid(found);
    return true;
}

}  // namespace translate::service
