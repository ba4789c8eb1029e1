#pragma once
// The one object through which the tray program reaches the dictionary services: creates them,
// knows every supported direction, orders them by the user's priority and forwards requests.

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "foundation/config/Settings.h"
#include "translate/manager/SupportedDirections.h"
#include "translate/service/TranslateService.h"
#include "translate/target/Target.h"

namespace translate::manager {

using service::TranslateService;

class TranslateManager : public TSupportedDirections<TranslateManager> {
public:
    virtual ~TranslateManager() = default;
    TranslateManager(const TranslateManager&) = delete;
    TranslateManager& operator=(const TranslateManager&) = delete;

    // CreateServices, then CollectDirections.
    virtual void LoadServices(const std::u16string& serviceIds);
    virtual void Initialize() = 0;
    // Every service exactly once: those the priority list names first, then the rest in
    // creation order.
    virtual std::vector<TranslateService*> GetServicesByPriority();
    // The user's (or the shipped) default directions that some service supports.
    virtual DirectionList GetDefaultDirections() = 0;
    // The first default direction, or "".
    virtual Direction GetDefaultDirection();
    // The first service by priority that supports `direction`; throws TranslateException.
    virtual TranslateService* GetServiceFor(const Direction& direction);
    virtual void Translate(const std::u16string& word, const Direction& direction, target::Target& target);
    // As Translate, with the answer in the user's web browser (TranslateService::TranslateInBrowser).
    virtual void TranslateInBrowser(const std::u16string& word, const Direction& direction, target::Target& browser);
    virtual void CreateServices(const std::u16string& serviceIds);
    virtual void CollectDirections();
    virtual std::unique_ptr<TranslateService> CreateService(const std::u16string& serviceId) = 0;
    virtual std::u16string GetPriorityList() = 0;

    std::vector<std::unique_ptr<TranslateService>> m_services;  // creation order, owned
    std::unordered_map<std::u16string, TranslateService*> m_servicesById;
    Settings m_settings;

protected:
    TranslateManager() = default;
};

// The manager's own log, labelled "TranslateManager".
Log& ManagerLog();

}  // namespace translate::manager
