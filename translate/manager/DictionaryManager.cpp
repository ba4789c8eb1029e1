#include "translate/manager/DictionaryManager.h"

#include "translate/manager/TranslateException.h"
#include "translate/service/SimpleDictionary.h"

namespace translate::manager {

void DictionaryManager::Initialize()
{
    LoadServices(m_settings.config.GetString(u"dictionaries"));
}

std::unique_ptr<TranslateService> DictionaryManager::CreateService(const std::u16string& serviceId)
{
    Properties& config = m_settings.config;
    const std::u16string key = u"dictionary." + serviceId + u".";
    const std::u16string type = config.At(key + u"type");
    if (type == u"simple")
        return std::make_unique<service::SimpleDictionary>(config.At(key + u"config"));
    if (type == u"eval") {
        // The expression is matched whole; it is never evaluated.
        const std::u16string& expression = config.At(key + u"eval");
        if (expression == u"lexFactory.createLingvoDictionary()")
            return std::make_unique<service::LingvoDictionary>();
        if (expression == u"lexFactory.createMultilexDictionary()")
            return std::make_unique<service::MultilexDictionary>();
    }
    throw TranslateException(u"Not implemented type: " + type);
}

std::u16string DictionaryManager::GetPriorityList()
{
    std::u16string priority;
    if (m_settings.key.GetString(u"dictionaryPriority", priority))
        return priority;
    return m_settings.config.GetString(u"dictionaries");
}

DirectionList DictionaryManager::GetDefaultDirections()
{
    std::u16string text;
    if (!m_settings.key.GetString(u"dictionaryDefaultDirections", text))
        text = TranslateDirectionTable().At(u"default.directions");
    DirectionList defaults;
    for (Direction& direction : SplitList(text)) {
        if (FindDirection(direction) != -1)
            defaults.push_back(std::move(direction));
    }
    return defaults;
}

}  // namespace translate::manager
