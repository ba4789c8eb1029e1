#pragma once
// A web dictionary as the program knows it, described by one .properties file of the locale
// folder: name, icon, request address template, directions and their request parameters.

#include <string>
#include <unordered_map>

#include "foundation/config/Properties.h"
#include "foundation/log/Log.h"
#include "translate/manager/SupportedDirections.h"
#include "translate/target/Target.h"

namespace translate::service {

class TranslateService : public TSupportedDirections<TranslateService> {
public:
    virtual ~TranslateService() = default;
    TranslateService(const TranslateService&) = delete;
    TranslateService& operator=(const TranslateService&) = delete;

    // Builds the request address for `word` and shows it on `target` (owned by the caller).
    // Throws TranslateException.
    virtual void Translate(std::u16string word, const Direction& direction, target::Target& target) = 0;
    // The same request shown in the user's web browser, whatever the service's own display: for
    // a site that the embedded engine cannot show. `browser` is a target without a window of its
    // own (owned by the caller). Throws TranslateException.
    virtual void TranslateInBrowser(std::u16string word, const Direction& direction, target::Target& browser) = 0;

    Properties m_properties;
    std::u16string m_name;
    std::u16string m_id;    // set by the manager right after construction
    std::u16string m_icon;  // relative to the program folder
    std::u16string m_homeUrl;
    std::u16string m_urlTemplate;
    std::unordered_map<Direction, std::u16string> m_parameters;
    Log m_log;

protected:
    // Loads the locale folder's `fileName` and reads the common keys (two of them under
    // `keyPrefix`). Throws TranslateException "Invalid configuration" when the directions and
    // their parameters do not pair up.
    TranslateService(std::u16string fileName, std::u16string keyPrefix);
};

}  // namespace translate::service
