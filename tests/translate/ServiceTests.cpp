#include <gtest/gtest.h>

#include "tests/translate/EngineFixture.h"
#include "translate/manager/TranslateException.h"
#include "translate/service/SimpleDictionary.h"

namespace {
using translate::DirectionList;
using translate::TranslateException;
using translate::service::MultilexDictionary;
using translate::service::SimpleDictionary;

class ServiceTest : public testsupport::EngineTest {
protected:
    // The message of the TranslateException that constructing the service throws.
    std::u16string RejectionOf(const std::string& file)
    {
        try {
            SimpleDictionary service(std::u16string(file.begin(), file.end()));
        } catch (const TranslateException& error) {
            return error.GetMessage();
        }
        return u"(accepted)";
    }
};

TEST_F(ServiceTest, ReadsTheDefinitionAndPairsParametersBeforeSorting)
{
    WriteService("s.properties", "Sample", "ru-en, en-ru", "1,2", "tab",
                 "service.home.url=http://home.test/\ndictionary.window.width=600px\ndictionary.window.height=wide\n");
    SimpleDictionary service(u"s.properties");
    EXPECT_EQ(service.m_name, u"Sample");
    EXPECT_EQ(service.m_icon, u"icons/Sample.ico");
    EXPECT_EQ(service.m_homeUrl, u"http://home.test/");
    EXPECT_EQ(service.m_directions, (DirectionList{u"en-ru", u"ru-en"}));
    EXPECT_EQ(service.m_parameters.at(u"ru-en"), u"1");
    EXPECT_EQ(service.m_parameters.at(u"en-ru"), u"2");
    EXPECT_EQ(service.m_displayType, u"tab");
    EXPECT_EQ(service.m_width, 600);
    EXPECT_EQ(service.m_height, 0);
    EXPECT_TRUE(service.m_dialogClsid.IsNull());
    EXPECT_TRUE(service.m_id.empty());
}

TEST_F(ServiceTest, UnusableDefinitionsAreRejectedWithTheirReason)
{
    WriteService("pairs.properties", "P", "en-ru,ru-en", "1");
    WriteService("capital.properties", "C", "en-ru", "1", "Popup");
    WriteService("nodisplay.properties", "N", "en-ru", "1", "");
    WriteService("handler.properties", "H", "en-ru", "1", "dialog", "dictionary.dialog=No.xulSuch.xul\n");
    WriteLocaleFile("nodirections.properties", "service.name=Empty\ndictionary.display.type=popup\n");

    EXPECT_EQ(RejectionOf("pairs.properties"), u"Invalid configuration");
    EXPECT_EQ(RejectionOf("capital.properties"), u"Unsupported display type: Popup");
    EXPECT_EQ(RejectionOf("nodisplay.properties"), u"Unsupported display type: ");
    EXPECT_EQ(RejectionOf("handler.properties"), u"Unsupported dictionary handler: NoSuch");
    EXPECT_EQ(RejectionOf("missing.properties"), u"Unsupported display type: ");
    EXPECT_EQ(RejectionOf("nodirections.properties"), u"(accepted)");  // no directions, no parameters
}

TEST_F(ServiceTest, RequestAddressFillsEveryPlaceholder)
{
    WriteService("s.properties", "S", "en-ru,ru-en", "enru,ruen", "popup",
                 "dictionary.service.url=http://s.test/%words%/?l=%locale%&d=%direction%&w=%words%&x=%other%\n");
    SimpleDictionary service(u"s.properties");
    EXPECT_EQ(service.BuildRequestUrl(u"a b", u"en-ru"),
              u"http://s.test/a%20b/?l=" + LoadResourceString(IDS_LANGUAGE_CODE) + u"&d=enru&w=a%20b&x=%other%");

    const UiLanguage russian = UiLanguage::Russian;
    SetUiLanguageOverride(&russian);
    EXPECT_EQ(service.BuildRequestUrl(u"\u0434\u0430", u"ru-en"),
              u"http://s.test/%d0%b4%d0%b0/?l=ru&d=ruen&w=%d0%b4%d0%b0&x=%other%");
    SetUiLanguageOverride(nullptr);
}

TEST_F(ServiceTest, MultilexAndLingvoReadTheirOwnFiles)
{
    WriteService("multilex.properties", "Multilex", "en-ru", "1", "popup",
                 "dictionary.service.url=http://m.test/?w=%words%&l=%locale%&d=%direction%\n");
    WriteService("lingvo.properties", "Lingvo", "en-ru", "1");
    MultilexDictionary multilex;
    EXPECT_EQ(multilex.m_name, u"Multilex");
    const std::u16string language = LoadResourceString(IDS_LANGUAGE_CODE);
    EXPECT_EQ(multilex.BuildRequestUrl(u"a b", u"en-ru"), u"http://m.test/?w=a%20b&l=" + language + u"&d=1");
    EXPECT_EQ(multilex.BuildRequestUrl(u"100%", u"en-ru"), u"http://m.test/?w=100%25&l=" + language + u"&d=1");
    EXPECT_EQ(multilex.BuildRequestUrl(u"na\u00EFve", u"en-ru"), u"http://m.test/?w=na%EFve&l=" + language + u"&d=1");
    translate::service::LingvoDictionary lingvo;
    EXPECT_EQ(lingvo.m_name, u"Lingvo");
}

}  // namespace
