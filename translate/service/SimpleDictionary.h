#pragma once
// The concrete service: display settings, the request address, UTF-8 percent escaping.

#include <cstdint>
#include <string>

#include "translate/service/TranslateService.h"
#include "translate/target/DisplaySettings.h"

namespace translate::service {

class SimpleDictionary : public TranslateService {
public:
    // Throws TranslateException for an unusable display type or an unregistered dialog handler.
    explicit SimpleDictionary(std::u16string fileName);

    void Translate(std::u16string word, const Direction& direction, target::Target& target) override;
    void TranslateInBrowser(std::u16string word, const Direction& direction, target::Target& browser) override;
    virtual std::u16string EncodeWords(const std::u16string& word) const;

    // The request address for `word` in `direction`, which the service must support.
    std::u16string BuildRequestUrl(const std::u16string& word, const Direction& direction) const;
    target::DisplaySettings Display() const;

    std::u16string m_displayType;  // "popup", "tab" or "dialog"
    std::int32_t m_width = 0;
    std::int32_t m_height = 0;
    target::ClassId m_dialogClsid;  // all zero unless "dialog"

private:
    void Show(const std::u16string& word,
              const Direction& direction,
              target::Target& target,
              const target::DisplaySettings& display);
};

class MultilexDictionary : public SimpleDictionary {
public:
    MultilexDictionary();
    // Multilex reads UTF-16 escapes.
    std::u16string EncodeWords(const std::u16string& word) const override;
};

class LingvoDictionary : public SimpleDictionary {
public:
    LingvoDictionary();
};

}  // namespace translate::service
