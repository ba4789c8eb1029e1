#include "tray/OpenInBrowser.h"

#include "translate/manager/TranslateException.h"

namespace tray {
using translate::manager::TranslateManager;

std::u16string OpenInBrowserValueName(const std::u16string& serviceId)
{
    return serviceId + u".openInBrowser";
}

bool OpensInBrowser(const Win32::API::RegKey& key, const std::u16string& serviceId)
{
    std::uint32_t value = 0;
    return key.GetDWORD(OpenInBrowserValueName(serviceId).c_str(), value) && value == 1;
}

bool SetOpensInBrowser(Win32::API::RegKey& key, const std::u16string& serviceId, bool inBrowser)
{
    return key.SetDWORD(OpenInBrowserValueName(serviceId).c_str(), inBrowser ? 1 : 0);
}

namespace {
// The service a translation in the direction uses, or none.
const translate::service::TranslateService* CurrentService(TranslateManager& manager,
                                                           const translate::Direction& direction)
{
    try {
        return manager.GetServiceFor(direction);
    } catch (const translate::TranslateException&) {
        return nullptr;
    }
}
}  // namespace

std::optional<bool> CurrentServiceOpensInBrowser(const Win32::API::RegKey& key,
                                                 TranslateManager& manager,
                                                 const translate::Direction& direction)
{
    const auto* service = CurrentService(manager, direction);
    if (!service)
        return std::nullopt;
    return OpensInBrowser(key, service->m_id);
}

ChoiceResult SetCurrentServiceOpensInBrowser(Win32::API::RegKey& key,
                                             TranslateManager& manager,
                                             const translate::Direction& direction,
                                             bool inBrowser)
{
    const auto* service = CurrentService(manager, direction);
    if (!service)
        return ChoiceResult::Refused;
    return SetOpensInBrowser(key, service->m_id, inBrowser) ? ChoiceResult::Stored : ChoiceResult::NotStored;
}

ChoiceResult ToggleOpenInBrowser(Win32::API::RegKey& key,
                                 TranslateManager& manager,
                                 const translate::Direction& direction)
{
    const std::optional<bool> current = CurrentServiceOpensInBrowser(key, manager, direction);
    if (!current)
        return ChoiceResult::Refused;
    return SetCurrentServiceOpensInBrowser(key, manager, direction, !*current);
}

void TranslateWord(const Win32::API::RegKey& key,
                   TranslateManager& manager,
                   const std::u16string& word,
                   const translate::Direction& direction,
                   translate::target::Target& browser,
                   const std::function<void()>& inAnswerWindow)
{
    TranslateWord(key, *manager.GetServiceFor(direction), word, direction, browser, inAnswerWindow);
}

void TranslateWord(const Win32::API::RegKey& key,
                   translate::service::TranslateService& service,
                   const std::u16string& word,
                   const translate::Direction& direction,
                   translate::target::Target& browser,
                   const std::function<void()>& inAnswerWindow)
{
    if (OpensInBrowser(key, service.m_id))
        service.TranslateInBrowser(word, direction, browser);
    else
        inAnswerWindow();
}

}  // namespace tray
