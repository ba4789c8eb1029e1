// A translation for a service whose answers the user opens in the web browser, from the stored
// choice to Internet Explorer (a recording browser stands in for it): the "tab" display, whatever
// the service's own, and no answer window.

#include <memory>
#include <string>
#include <vector>

#include "tests/translate/EngineFixture.h"
#include "tests/wine/ComTestSupport_win32.h"
#include "tests/wine/FakeBrowser_win32.h"
#include "translate/manager/DictionaryManager.h"
#include "translate/target/BrowserAutomation_win32.h"
#include "translate/target/WEBBrowserTarget_win32.h"
#include "tray/OpenInBrowser.h"

namespace {
using Strings = std::vector<std::string>;

class OpenInBrowserWineTest : public testsupport::EngineTest {
protected:
    void SetUp() override
    {
        ASSERT_HRESULT_SUCCEEDED(::CoInitialize(nullptr));
        m_browserClass = std::make_unique<wintest::RegisteredClass>(translate::target::InternetExplorerClassId(),
                                                                    wintest::MakeFakeBrowserClass(m_script).Get());
        // A popup with a size: shown as the service wants it, its window would be placed and bare.
        WriteService("a.properties", "Alpha", "en-ru", "1", "popup",
                     "dictionary.window.width=600\ndictionary.window.height=400\n");
        WriteLocaleFile("Configuration.properties",
                        "dictionaries=A\ndictionary.A.type=simple\ndictionary.A.config=a.properties\n");
        // Made now: it reads the configuration when it is constructed.
        m_manager = std::make_unique<translate::manager::DictionaryManager>();
        m_manager->Initialize();
    }
    void TearDown() override
    {
        m_settings.key.DeleteValue(tray::OpenInBrowserValueName(u"A").c_str());
        m_browserClass.reset();
        ::CoUninitialize();
    }

    // Translates "cat" in en-ru as the main dialog does; true when an answer window was asked for.
    bool Translate()
    {
        bool answerWindow = false;
        translate::target::WEBBrowserTarget browser;
        tray::TranslateWord(m_settings.key, Manager(), u"cat", u"en-ru", browser, [&] {
            answerWindow = true;
            Manager().Translate(u"cat", u"en-ru", browser);
        });
        return answerWindow;
    }

    std::shared_ptr<wintest::BrowserScript> m_script = std::make_shared<wintest::BrowserScript>();
    Settings m_settings;
    std::unique_ptr<translate::manager::DictionaryManager> m_manager;
    translate::manager::DictionaryManager& Manager() { return *m_manager; }

private:
    std::unique_ptr<wintest::RegisteredClass> m_browserClass;
};

TEST_F(OpenInBrowserWineTest, TheChosenServiceOpensAPlainVisibleInternetExplorerWindow)
{
    tray::SetOpensInBrowser(m_settings.key, u"A", true);
    EXPECT_FALSE(Translate());
    EXPECT_EQ(m_script->created, 1);
    // The user's own browser window: neither placed nor stripped of its bars.
    ASSERT_EQ(m_script->calls.size(), 2u) << ::testing::PrintToString(m_script->calls);
    EXPECT_EQ(m_script->calls[0].rfind("Navigate http://Alpha.test/q?", 0), 0u) << m_script->calls[0];
    EXPECT_NE(m_script->calls[0].find("&w=cat "), std::string::npos) << m_script->calls[0];
    EXPECT_EQ(m_script->calls[1], "Visible=-1");

    // Switched off again: the service's own display.
    tray::SetOpensInBrowser(m_settings.key, u"A", false);
    m_script->calls.clear();
    EXPECT_TRUE(Translate());
    EXPECT_NE(std::find(m_script->calls.begin(), m_script->calls.end(), "Width=600"), m_script->calls.end())
        << ::testing::PrintToString(m_script->calls);
    EXPECT_NE(std::find(m_script->calls.begin(), m_script->calls.end(), "AddressBar=0"), m_script->calls.end());
}

}  // namespace
