#include "translate/service/DialogClasses.h"

namespace translate::service {

bool LookupDialogClass(const std::u16string& progId, target::ClassId& clsid)
{
    for (const DialogClass& dialogClass : DialogServerClasses()) {
        if (progId == std::u16string(u"Vocabra.Dialog.") + dialogClass.handler) {
            clsid = dialogClass.clsid;
            return true;
        }
    }
    return false;
}

}  // namespace translate::service
