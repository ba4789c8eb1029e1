// A translation goes to the browser, with no answer window, when the user chose the browser for
// the service it uses (native display: recording targets stand in for both).
#include <gtest/gtest.h>

#include "tests/translate/RecordingTarget.h"
#include "tests/tray/BrowserChoiceFixture.h"
#include "translate/manager/TranslateException.h"

namespace {

class TranslateWordTest : public testsupport::BrowserChoiceTest {
protected:
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
    EXPECT_THROW(
        tray::TranslateWord(m_settings.key, Manager(), u"word", u"xx-yy", m_browser, [&] { answerWindow = true; }),
        translate::TranslateException);
    EXPECT_FALSE(answerWindow);
    EXPECT_TRUE(m_browser.requests.empty());
}

}  // namespace
