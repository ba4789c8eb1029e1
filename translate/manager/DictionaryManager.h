#pragma once
// The program's translation manager: services made from Configuration.properties, priorities and
// default directions from the registry with the shipped files behind them.

#include "foundation/patterns/Singleton.h"
#include "translate/manager/TranslateManager.h"

namespace translate::manager {

// The manager is constructed once; its initialisation runs once too, but is tried again on the
// next request when it failed.
template <class T>
struct TranslateManagerInitializer {
    static T* Create(void* storage) { return patterns::DefaultInitializer<T>::Create(storage); }
    static void Prepare(T& manager)
    {
        if (s_initialized)
            return;
        s_initialized = true;
        try {
            manager.Initialize();
        } catch (...) {
            s_initialized = false;
            throw;
        }
    }

private:
    static inline bool s_initialized = false;
};

class DictionaryManager
    : public TranslateManager,
      public patterns::Singleton<DictionaryManager, TranslateManagerInitializer<DictionaryManager>> {
public:
    DictionaryManager() = default;

    // Creates the services that "dictionaries" lists.
    void Initialize() override;
    DirectionList GetDefaultDirections() override;
    std::unique_ptr<TranslateService> CreateService(const std::u16string& serviceId) override;
    // "dictionaryPriority" when the registry has it (even empty), else "dictionaries".
    std::u16string GetPriorityList() override;
};

}  // namespace translate::manager
