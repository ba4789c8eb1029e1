#pragma once
// The dialog server's classes, known by the handler names that service definitions use.

#include <array>
#include <string>

#include "translate/target/ClassId.h"

namespace translate::service {

struct DialogClass {
    const char16_t* handler;  // "Lingvo": the class's programmatic identifier is "Vocabra.Dialog.Lingvo"
    target::ClassId clsid;
};

const std::array<DialogClass, 4>& DialogServerClasses();

// Looks a programmatic identifier up in the system's class registry (the native build has none:
// there the dialog server's own classes count as registered). False when it is unknown.
bool LookupDialogClass(const std::u16string& progId, target::ClassId& clsid);

}  // namespace translate::service
