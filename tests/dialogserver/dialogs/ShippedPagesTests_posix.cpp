// The information pages the program ships, as the build makes them: every page the string tables
// name exists, carries what its dialog looks for, may run its scripts from the local disk, and
// sends nothing anywhere on its own.
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "dialogserver/dialogs/ServiceDialog.h"
#include "tests/dialogserver/dialogs/StepTestSupport_posix.h"

namespace {
using dialogtest::HostShowing;
using dialogtest::HtmlPage;

const char* const kServices[] = {"babylon", "multilex", "lingvo", "google"};
const char* const kLanguages[] = {"en", "ru"};

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string ShippedPage(const std::string& language, const std::string& service)
{
    return ReadFile(std::string(VOCABRA_PAGES) + "/" + language + "/" + service + ".html");
}

bool DefinesFunction(const std::string& html, const std::string& name)
{
    return html.find("function " + name + "(") != std::string::npos;
}

// Every (language, service) page the program's string tables point at.
std::set<std::pair<std::string, std::string>> PagesNamedByTheStringTables()
{
    const std::string resources = ReadFile(VOCABRA_HELPER_RESOURCES);
    const std::regex entry(R"re("pages\\\\(\w+)\\\\(\w+)\.html")re");
    std::set<std::pair<std::string, std::string>> named;
    for (auto match = std::sregex_iterator(resources.begin(), resources.end(), entry); match != std::sregex_iterator();
         ++match)
        named.insert({(*match)[1], (*match)[2]});
    return named;
}

TEST(ShippedPages, TheStringTablesNameEveryServiceInBothLanguagesAndEachPageIsThere)
{
    std::set<std::pair<std::string, std::string>> expected;
    for (const char* language : kLanguages)
        for (const char* service : kServices)
            expected.insert({language, service});

    EXPECT_EQ(PagesNamedByTheStringTables(), expected);
    for (const auto& [language, service] : expected)
        EXPECT_NE(ShippedPage(language, service).find("</html>"), std::string::npos) << language << "/" << service;
}

TEST(ShippedPages, EachIsMarkedToRunItsScriptsFromDiskAndHasNoTrackerNorOutsideAddress)
{
    for (const char* language : kLanguages) {
        for (const char* service : kServices) {
            SCOPED_TRACE(std::string(language) + "/" + service);
            const std::string html = ShippedPage(language, service);
            const std::size_t mark = html.find("<!-- saved from url=(0014)about:internet -->\r\n");
            ASSERT_NE(mark, std::string::npos);
            EXPECT_LT(mark, html.find("<html"));
            EXPECT_NE(html.find("<html lang=\"" + std::string(language) + "\">"), std::string::npos);
            EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos);
            EXPECT_EQ(html.find("http:"), std::string::npos);
            EXPECT_EQ(html.find("https:"), std::string::npos);
            EXPECT_EQ(html.find('@'), html.find("@keyframes")) << "a template placeholder is left";

            const HtmlPage page(html);
            EXPECT_FALSE(page.Has("#tracker"));
            EXPECT_TRUE(page.Has("#progress"));
        }
    }
}

TEST(ShippedPages, TheProgressTextIsInThePagesLanguage)
{
    const std::regex cyrillic("[\xD0\xD1][\x80-\xBF]");
    for (const char* service : kServices) {
        SCOPED_TRACE(service);
        const std::string english = HtmlPage(ShippedPage("en", service)).InnerHtml("#progress");
        const std::string russian = HtmlPage(ShippedPage("ru", service)).InnerHtml("#progress");
        EXPECT_FALSE(std::regex_search(english, cyrillic)) << english;
        EXPECT_TRUE(std::regex_search(russian, cyrillic)) << russian;
    }
}

TEST(ShippedPages, EachHasTheElementsAndFunctionsItsDialogUses)
{
    for (const char* language : kLanguages) {
        SCOPED_TRACE(language);
        const std::string babylon = ShippedPage(language, "babylon");
        EXPECT_EQ(HtmlPage(babylon).Attribute("#translation", "name"), "translation");
        EXPECT_TRUE(DefinesFunction(babylon, "showTranslation"));
        EXPECT_TRUE(DefinesFunction(babylon, "showProgressBar"));

        const std::string multilex = ShippedPage(language, "multilex");
        EXPECT_TRUE(HtmlPage(multilex).Has("#translation"));
        EXPECT_TRUE(HtmlPage(multilex).Has("#content"));
        EXPECT_TRUE(DefinesFunction(multilex, "showTranslation"));

        const std::string google = ShippedPage(language, "google");
        EXPECT_TRUE(HtmlPage(google).Has("#translation"));
        EXPECT_TRUE(DefinesFunction(google, "initTranslation"));
    }
}

// The dialogs' own information-page steps find their frame on the shipped pages.
TEST(ShippedPages, TheBabylonAndMultilexStepsLoadTheAnswerIntoTheShippedFrame)
{
    for (const char* service : {"babylon", "multilex"}) {
        SCOPED_TRACE(service);
        HtmlPage page(ShippedPage("en", service));
        HostShowing host(page);
        if (std::string(service) == "babylon")
            dialogserver::dialogs::BabylonDialog().InformationPageLoaded(host);
        else
            dialogserver::dialogs::MultilexDialog().InformationPageLoaded(host);
        EXPECT_EQ(page.Attribute("#translation", "src"), "https://dictionary.example/?word=cat");
    }
}

}  // namespace
