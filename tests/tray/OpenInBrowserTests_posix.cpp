// A translation goes to the browser, with no answer window, when the user chose the browser for
// the service it uses (native display: recording targets stand in for both).
#include <gtest/gtest.h>

#include <memory>

#include "tests/translate/EngineFixture.h"
#include "tests/translate/RecordingTarget.h"
#include "translate/manager/DictionaryManager.h"
#include "translate/manager/TranslateException.h"
#include "tray/OpenInBrowser.h"

namespace {

class TranslateWordTest : public testsupport::EngineTest {
protected:
    TranslateWordTest()
    {
        WriteService("a.properties", "Alpha", "en-ru", "1", "popup", "dictionary.window.width=600\n");
        WriteService("b.properties", "Beta", "en-ru,de-ru", "1,2", "popup");
        WriteLocaleFile("Configuration.properties",
                        "dictionaries=A,B\n"
                        "dictionary.A.type=simple\ndictionary.A.config=a.properties\n"
                        "dictionary.B.type=simple\ndictionary.B.config=b.properties\n");
        // Made now: it reads the configuration when it is constructed.
        m_manager = std::make_unique<translate::manager::DictionaryManager>();
        m_manager->Initialize();
    }
    ~TranslateWordTest() override
    {
        for (const char16_t* id : {u"A", u"B"})
            m_settings.key.DeleteValue(tray::OpenInBrowserValueName(id).c_str());
    }

    // Translates `word`; true when an answer window was asked for.
    bool Translate(const std::u16string& word, const translate::Direction& direction)
    {
        bool answerWindow = false;
        tray::TranslateWord(m_settings.key, Manager(), word, direction, m_browser, [&] {
            answerWindow = true;
            Manager().Translate(word, direction, m_window);
        });
        return answerWindow;
    }

    Settings m_settings;
    std::unique_ptr<translate::manager::DictionaryManager> m_manager;
    translate::manager::DictionaryManager& Manager() { return *m_manager; }
    testsupport::RecordingTarget m_browser;
    testsupport::RecordingTarget m_window;
};

TEST_F(TranslateWordTest, TheChosenServicesAnswerOpensInTheBrowserAndNoWindow)
{
    tray::SetOpensInBrowser(m_settings.key, u"A", true);
    EXPECT_FALSE(Translate(u"a b", u"en-ru"));
    ASSERT_EQ(m_browser.requests.size(), 1u);
    EXPECT_EQ(m_browser.requests[0].url, u"http://Alpha.test/q?l=en&d=1&w=a%20b");
    EXPECT_EQ(m_browser.requests[0].display.displayType, u"tab");
    EXPECT_TRUE(m_window.requests.empty());

    // B's answers stay in its answer windows: the choice is A's alone.
    EXPECT_TRUE(Translate(u"word", u"de-ru"));
    ASSERT_EQ(m_window.requests.size(), 1u);
    EXPECT_EQ(m_window.requests[0].url, u"http://Beta.test/q?l=en&d=2&w=word");
    EXPECT_EQ(m_window.requests[0].display.displayType, u"popup");
    EXPECT_EQ(m_browser.requests.size(), 1u);
}

TEST_F(TranslateWordTest, WithoutTheChoiceTheServicesOwnDisplayIsUsed)
{
    tray::SetOpensInBrowser(m_settings.key, u"B", true);  // not the service of en-ru
    EXPECT_TRUE(Translate(u"word", u"en-ru"));
    ASSERT_EQ(m_window.requests.size(), 1u);
    EXPECT_EQ(m_window.requests[0].display.displayType, u"popup");
    EXPECT_EQ(m_window.requests[0].display.width, 600);
    EXPECT_TRUE(m_browser.requests.empty());

    tray::SetOpensInBrowser(m_settings.key, u"B", false);
    EXPECT_TRUE(Translate(u"word", u"de-ru"));
    EXPECT_TRUE(m_browser.requests.empty());
}

TEST_F(TranslateWordTest, AnUnsupportedDirectionFailsBeforeEitherIsOpened)
{
    bool answerWindow = false;
    EXPECT_THROW(tray::TranslateWord(m_settings.key, Manager(), u"word", u"xx-yy", m_browser,
                                     [&] { answerWindow = true; }),
                 translate::TranslateException);
    EXPECT_FALSE(answerWindow);
    EXPECT_TRUE(m_browser.requests.empty());
}

}  // namespace
