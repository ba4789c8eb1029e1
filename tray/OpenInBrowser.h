#pragma once
// The user's choice to open a service's answers in the web browser rather than in an answer
// window, for sites that the embedded engine cannot show: stored per service, the same on both
// desktops.

#include <functional>
#include <optional>
#include <string>

#include "foundation/win32api/Handles.h"
#include "translate/manager/TranslateManager.h"
#include "tray/ChoiceResult.h"

namespace tray {

// The registry value of the choice: serviceId + ".openInBrowser", a DWORD.
std::u16string OpenInBrowserValueName(const std::u16string& serviceId);

// A stored 1 opens the answers in the browser; anything else, or nothing, keeps the service's own
// display.
bool OpensInBrowser(const Win32::API::RegKey& key, const std::u16string& serviceId);
// False when the write failed.
bool SetOpensInBrowser(Win32::API::RegKey& key, const std::u16string& serviceId, bool inBrowser);

// The choice of the service a translation in `direction` uses; none when no service supports it.
std::optional<bool> CurrentServiceOpensInBrowser(const Win32::API::RegKey& key,
                                                 translate::manager::TranslateManager& manager,
                                                 const translate::Direction& direction);
// Stores that service's choice (the dialog's check box) or switches it (the menu's check item);
// refused, and nothing written, when no service supports the direction.
ChoiceResult SetCurrentServiceOpensInBrowser(Win32::API::RegKey& key,
                                             translate::manager::TranslateManager& manager,
                                             const translate::Direction& direction,
                                             bool inBrowser);
ChoiceResult ToggleOpenInBrowser(Win32::API::RegKey& key,
                                 translate::manager::TranslateManager& manager,
                                 const translate::Direction& direction);

// One translation: shown through `browser` (a target without a window of its own) when the user
// opens the service's answers in the browser; otherwise `inAnswerWindow` runs it, so that no
// answer window opens for a request that goes to the browser. Throws TranslateException.
void TranslateWord(const Win32::API::RegKey& key,
                   translate::manager::TranslateManager& manager,
                   const std::u16string& word,
                   const translate::Direction& direction,
                   translate::target::Target& browser,
                   const std::function<void()>& inAnswerWindow);
// The same with the service that answers, chosen by the caller.
void TranslateWord(const Win32::API::RegKey& key,
                   translate::service::TranslateService& service,
                   const std::u16string& word,
                   const translate::Direction& direction,
                   translate::target::Target& browser,
                   const std::function<void()>& inAnswerWindow);

}  // namespace tray
