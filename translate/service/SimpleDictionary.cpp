#include "translate/service/SimpleDictionary.h"

#include "foundation/config/Environment.h"
#include "translate/manager/TranslateException.h"
#include "translate/service/DialogClasses.h"
#include "translate/service/WordEncoding.h"
#include "translate/target/ShowRequest.h"

namespace translate::service {
namespace {
// Literal, case-sensitive, left to right; replaced text is not searched again.
void ReplaceAll(std::u16string& text, std::u16string_view placeholder, const std::u16string& value)
{
    for (std::size_t at = text.find(placeholder); at != std::u16string::npos;
         at = text.find(placeholder, at + value.size())) {
        text.replace(at, placeholder.size(), value);
    }
}

void RemoveAll(std::u16string& text, std::u16string_view part)
{
    for (std::size_t at = text.find(part); at != std::u16string::npos; at = text.find(part, at))
        text.erase(at, part.size());
}
}  // namespace

SimpleDictionary::SimpleDictionary(std::u16string fileName) : TranslateService(std::move(fileName), u"dictionary.")
{
    m_displayType = m_properties.At(u"dictionary.display.type");
    m_width = m_properties.GetInt(u"dictionary.window.width");
    m_height = m_properties.GetInt(u"dictionary.window.height");
    if (m_displayType == u"dialog") {
        std::u16string handler = m_properties.At(u"dictionary.dialog");
        RemoveAll(handler, u".xul");
        if (!LookupDialogClass(LoadResourceString(IDS_DIALOG_PROGID_PREFIX) + handler, m_dialogClsid))
            throw TranslateException(u"Unsupported dictionary handler: " + handler);
    } else if (m_displayType != u"popup" && m_displayType != u"tab") {
        throw TranslateException(u"Unsupported display type: " + m_displayType);
    }
}

std::u16string SimpleDictionary::BuildRequestUrl(const std::u16string& word, const Direction& direction) const
{
    std::u16string url = m_urlTemplate;
    ReplaceAll(url, u"%locale%", LoadResourceString(IDS_LANGUAGE_CODE));
    const auto parameter = m_parameters.find(direction);
    ReplaceAll(url, u"%direction%", parameter == m_parameters.end() ? std::u16string() : parameter->second);
    ReplaceAll(url, u"%words%", EncodeWords(word));
    return url;
}

void SimpleDictionary::Translate(std::u16string word, const Direction& direction, target::Target& target)
{
    Show(word, direction, target, Display());
}

void SimpleDictionary::TranslateInBrowser(std::u16string word, const Direction& direction, target::Target& browser)
{
    // The "tab" display opens the browser (Internet Explorer on Windows, the desktop's browser
    // elsewhere) and needs no window of ours; the sizes are the answer window's and mean nothing
    // there.
    target::DisplaySettings display = Display();
    display.displayType = u"tab";
    Show(word, direction, browser, display);
}

void SimpleDictionary::Show(const std::u16string& word,
                            const Direction& direction,
                            target::Target& target,
                            const target::DisplaySettings& display)
{
    if (FindDirection(direction) == -1)
        throw TranslateException(u"Unsupported translation: " + direction);
    target::ShowRequest(BuildRequestUrl(word, direction), direction, target, display);
}

std::u16string SimpleDictionary::EncodeWords(const std::u16string& word) const
{
    return EncodeUtf8Percent(word);
}

target::DisplaySettings SimpleDictionary::Display() const
{
    return target::DisplaySettings{m_displayType, m_width, m_height, m_dialogClsid};
}

MultilexDictionary::MultilexDictionary() : SimpleDictionary(u"multilex.properties") {}

std::u16string MultilexDictionary::EncodeWords(const std::u16string& word) const
{
    return EncodeUtf16Percent(word);
}

LingvoDictionary::LingvoDictionary() : SimpleDictionary(u"lingvo.properties") {}

}  // namespace translate::service
