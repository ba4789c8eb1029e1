// Requests through the native display: a recording target stands in for the browser.
#include <gtest/gtest.h>

#include "tests/translate/EngineFixture.h"
#include "tests/translate/RecordingTarget.h"
#include "translate/manager/TranslateException.h"
#include "translate/service/DialogClasses.h"
#include "translate/service/SimpleDictionary.h"

namespace {
using translate::TranslateException;
using translate::service::SimpleDictionary;

class NativeServiceTest : public testsupport::EngineTest {};

TEST_F(NativeServiceTest, DialogHandlersOfTheDialogServerAreRegistered)
{
    WriteService("l.properties", "L", "en-ru", "1", "dialog",
                 "dictionary.dialog=Lingvo.xul\ndictionary.window.width=600\ndictionary.window.height=400\n");
    SimpleDictionary service(u"l.properties");
    EXPECT_EQ(service.m_dialogClsid, translate::service::DialogServerClasses()[2].clsid);

    testsupport::RecordingTarget target;
    service.Translate(u"word", u"en-ru", target);
    ASSERT_EQ(target.requests.size(), 1u);
    EXPECT_EQ(target.requests[0].url, u"http://L.test/q?l=en&d=1&w=word");
    EXPECT_EQ(target.requests[0].direction, u"en-ru");
    EXPECT_EQ(target.requests[0].display.displayType, u"dialog");
    EXPECT_EQ(target.requests[0].display.width, 600);
    EXPECT_EQ(target.requests[0].display.height, 400);
    EXPECT_EQ(target.requests[0].display.dialogClsid, service.m_dialogClsid);
}

TEST_F(NativeServiceTest, UnsupportedDirectionNeverReachesTheDisplay)
{
    WriteService("s.properties", "S", "en-ru", "1");
    SimpleDictionary service(u"s.properties");
    testsupport::RecordingTarget target;
    try {
        service.Translate(u"word", u"EN-RU", target);
        FAIL() << "no exception";
    } catch (const TranslateException& error) {
        EXPECT_EQ(error.GetMessage(), u"Unsupported translation: EN-RU");
    }
    EXPECT_TRUE(target.requests.empty());
}

TEST_F(NativeServiceTest, InTheBrowserEveryDisplayBecomesTheTabDisplayOfTheSameRequest)
{
    WriteService("l.properties", "L", "en-ru", "1", "dialog",
                 "dictionary.dialog=Lingvo\ndictionary.window.width=600\n");
    WriteService("p.properties", "P", "en-ru", "1", "popup");
    WriteService("t.properties", "T", "en-ru", "1", "tab");
    for (const char16_t* file : {u"l.properties", u"p.properties", u"t.properties"}) {
        SCOPED_TRACE(testing::Message() << "service file " << static_cast<char>(file[0]));
        SimpleDictionary service(file);
        testsupport::RecordingTarget window;
        testsupport::RecordingTarget browser;
        service.Translate(u"a b", u"en-ru", window);
        service.TranslateInBrowser(u"a b", u"en-ru", browser);
        ASSERT_EQ(browser.requests.size(), 1u);
        EXPECT_EQ(browser.requests[0].url, window.requests[0].url);
        EXPECT_EQ(browser.requests[0].direction, u"en-ru");
        EXPECT_EQ(browser.requests[0].display.displayType, u"tab");
        EXPECT_EQ(window.requests[0].display.displayType, service.m_displayType);

        EXPECT_THROW(service.TranslateInBrowser(u"word", u"ru-en", browser), TranslateException);
        EXPECT_EQ(browser.requests.size(), 1u);
    }
}

}  // namespace
