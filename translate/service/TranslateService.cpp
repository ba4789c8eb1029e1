#include "translate/service/TranslateService.h"

#include "foundation/config/Environment.h"
#include "foundation/text/Utf.h"
#include "translate/manager/TranslateException.h"

namespace translate::service {

// NOLINTNEXTLINE(performance-unnecessary-value-param): the services' constructor is declared by value
TranslateService::TranslateService(std::u16string fileName, std::u16string keyPrefix)
{
    m_properties.Load(GetModuleDirectory() + LoadResourceString(IDS_LOCALE_FOLDER) + fileName);
    m_name = m_properties.At(u"service.name");
    m_icon = m_properties.At(u"service.icon");
    m_homeUrl = m_properties.At(u"service.home.url");
    const std::u16string directionsText = m_properties.At(u"supported.directions");
    m_directions = SplitList(directionsText);
    m_urlTemplate = m_properties.At(keyPrefix + u"service.url");
    const std::vector<std::u16string> parameters = SplitList(m_properties.At(keyPrefix + u"direction.to.parameter"));
    if (parameters.size() != m_directions.size())
        throw TranslateException(u"Invalid configuration");
    // A direction listed twice keeps the parameter of its last occurrence.
    for (std::size_t i = 0; i < parameters.size(); ++i)
        m_parameters[m_directions[i]] = parameters[i];
    SortDirections(m_directions);

    m_log.Write("Translator: ", m_name.c_str());
    m_log.Write(" supported directions: ", directionsText.c_str());
}

}  // namespace translate::service
