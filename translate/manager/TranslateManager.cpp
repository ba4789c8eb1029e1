#include "translate/manager/TranslateManager.h"

#include <algorithm>

#include "translate/manager/TranslateException.h"

namespace translate::manager {

Log& ManagerLog()
{
    static Log log("TranslateManager");
    return log;
}

void TranslateManager::LoadServices(const std::u16string& serviceIds)
{
    CreateServices(serviceIds);
    CollectDirections();
}

void TranslateManager::CreateServices(const std::u16string& serviceIds)
{
    Log& log = ManagerLog();
    log.Write("Creating services: ", serviceIds.c_str());
    for (const std::u16string& id : SplitList(serviceIds)) {
        log.Write("Creating translator: ", id.c_str());
        try {
            std::unique_ptr<TranslateService> service = CreateService(id);
            service->m_id = id;
            m_servicesById[id] = service.get();
            m_services.push_back(std::move(service));
        } catch (const TranslateException& error) {
            // A service that cannot be used is left out; the others are still created.
            log.Write("Exception on create translator: ", id.c_str());
            log.WriteWide(error.GetMessage().c_str());
        }
    }
}

void TranslateManager::CollectDirections()
{
    for (const auto& service : m_services)
        MergeDirections(service->m_directions);
    SortDirections(m_directions);
}

std::vector<TranslateService*> TranslateManager::GetServicesByPriority()
{
    std::vector<TranslateService*> ordered;
    const auto add = [&ordered](TranslateService* service) {
        if (std::find(ordered.begin(), ordered.end(), service) == ordered.end())
            ordered.push_back(service);
    };
    for (const std::u16string& id : SplitList(GetPriorityList())) {
        const auto found = m_servicesById.find(id);
        if (found != m_servicesById.end())
            add(found->second);
    }
    for (const auto& service : m_services)
        add(service.get());
    return ordered;
}

Direction TranslateManager::GetDefaultDirection()
{
    const DirectionList defaults = GetDefaultDirections();
    return defaults.empty() ? Direction() : defaults.front();
}

TranslateService* TranslateManager::GetServiceFor(const Direction& direction)
{
    if (FindDirection(direction) != -1) {
        for (TranslateService* service : GetServicesByPriority()) {
            if (service->FindDirection(direction) != -1)
                return service;
        }
    }
    throw TranslateException(u"Unsupported translation: " + direction);
}

void TranslateManager::Translate(const std::u16string& word, const Direction& direction, target::Target& target)
{
    GetServiceFor(direction)->Translate(word, direction, target);
}

void TranslateManager::TranslateInBrowser(const std::u16string& word,
                                          const Direction& direction,
                                          target::Target& browser)
{
    GetServiceFor(direction)->TranslateInBrowser(word, direction, browser);
}

}  // namespace translate::manager
