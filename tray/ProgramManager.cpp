#include "tray/ProgramManager.h"

#include "translate/manager/DictionaryManager.h"

namespace tray {

ManagerSource ProgramManager()
{
    return
        []() -> translate::manager::TranslateManager& { return translate::manager::DictionaryManager::GetInstance(); };
}

}  // namespace tray
