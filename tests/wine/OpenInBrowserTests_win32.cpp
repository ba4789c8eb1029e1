// A translation for a service whose answers the user opens in the web browser, from the stored
// choice to Internet Explorer (a recording browser stands in for it): the "tab" display, whatever
// the service's own, and no answer window.

#include <algorithm>
#include <memory>
#include <string>

#include "tests/tray/BrowserChoiceFixture.h"
#include "tests/wine/ComTestSupport_win32.h"
#include "tests/wine/FakeBrowser_win32.h"
#include "translate/target/BrowserAutomation_win32.h"
#include "translate/target/WEBBrowserTarget_win32.h"

namespace {

class OpenInBrowserWineTest : public testsupport::BrowserChoiceTest {
protected:
    void SetUp() override
    {
        ASSERT_HRESULT_SUCCEEDED(::CoInitialize(nullptr));
        m_browserClass = std::make_unique<wintest::RegisteredClass>(translate::target::InternetExplorerClassId(),
                                                                    wintest::MakeFakeBrowserClass(m_script).Get());
    }
    void TearDown() override
    {
        m_browserClass.reset();
        ::CoUninitialize();
    }

    // Translates "cat" in en-ru as the main dialog does (A, a popup of 600 x 400, is the service);
    // true when an answer window was asked for.
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
