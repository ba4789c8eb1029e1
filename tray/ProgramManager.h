#pragma once
// The program's translation manager as the main-dialog controller reaches it.

#include "tray/MainDialogController.h"

namespace tray {

// The process-wide DictionaryManager; throws TranslateException while its services cannot be made.
ManagerSource ProgramManager();

}  // namespace tray
