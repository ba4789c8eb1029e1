// The Google dialog: the information page's script gets a request object and the address, and
// the dialog lets the window go whatever happens.
#include <gtest/gtest.h>

#include "dialogserver/dialogs/ServiceDialog.h"
#include "foundation/text/Utf.h"
#include "tests/dialogserver/dialogs/StepTestSupport_posix.h"

namespace {
using dialogserver::dialogs::GoogleDialog;
using dialogtest::AnswerPage;
using dialogtest::ClassObject;
using dialogtest::HostShowing;
using dialogtest::HtmlPage;
namespace dom = dialogserver::dom;
using Texts = std::vector<std::u16string>;

constexpr char16_t kMsxml2[] = u"Msxml2.XMLHTTP";
constexpr char16_t kMicrosoft[] = u"Microsoft.XMLHTTP";

struct GoogleTest : testing::Test {
    HtmlPage information{R"(<html><body><iframe id="tracker"></iframe><div id="answer"></div></body></html>)"};
    HostShowing host{information};
    GoogleDialog dialog;
};

TEST_F(GoogleTest, InitTranslation_GetsTheFirstRequestClassThatCanBeMade)
{
    struct Case {
        std::set<std::u16string> registered;
        Texts requested;
        const char16_t* used;  // null: initTranslation is not called
    } const cases[] = {
        {{kMsxml2, kMicrosoft}, {kMsxml2}, kMsxml2},
        {{kMicrosoft}, {kMsxml2, kMicrosoft}, kMicrosoft},
        {{}, {kMsxml2, kMicrosoft}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.used ? text::Utf16ToUtf8(c.used) : "no request class");
        HtmlPage page(R"(<html><body><iframe id="tracker"></iframe></body></html>)");
        page.Window().functions[u"initTranslation"] = false;  // its result does not matter
        HostShowing google(page);
        google.serviceName = u"Google";
        google.registeredClasses = c.registered;

        dialog.InformationPageLoaded(google);

        EXPECT_EQ(google.classRequests, c.requested);
        EXPECT_EQ(page.Attribute("#tracker", "src"), "https://track.example/Google.html");
        EXPECT_EQ(google.detachments, 1);
        if (!c.used) {
            EXPECT_TRUE(page.Window().calls.empty());
            continue;
        }
        ASSERT_EQ(page.Window().CallNames(), Texts{u"initTranslation"});
        const std::vector<dom::ScriptArgument>& arguments = page.Window().calls[0].arguments;
        ASSERT_EQ(arguments.size(), 2u);
        const auto* request = dynamic_cast<const ClassObject*>(std::get<dom::ScriptObjectPtr>(arguments[0]).get());
        ASSERT_NE(request, nullptr);
        EXPECT_EQ(request->progId, c.used);
        EXPECT_EQ(std::get<std::u16string>(arguments[1]), u"https://dictionary.example/?word=cat");
    }
}

TEST_F(GoogleTest, PageWithoutInitTranslation_MakesNoRequestObjectAndStillDetaches)
{
    host.registeredClasses = {kMsxml2};

    dialog.InformationPageLoaded(host);

    EXPECT_TRUE(host.classRequests.empty());
    EXPECT_EQ(information.Attribute("#tracker", "src"), "https://track.example/Babylon.html");
    EXPECT_EQ(host.detachments, 1);
}

TEST_F(GoogleTest, BrowserWithoutDocument_StillDetaches)
{
    dialogtest::FakeHost blank;
    blank.registeredClasses = {kMsxml2};

    dialog.InformationPageLoaded(blank);

    EXPECT_TRUE(blank.classRequests.empty());
    EXPECT_EQ(blank.detachments, 1);
}

TEST_F(GoogleTest, OtherDocuments_AreIgnored)
{
    information.Window().functions = {{u"eval", true}, {u"initTranslation", true}, {u"showTranslation", true}};
    host.registeredClasses = {kMsxml2};
    HtmlPage answer(R"(<html><body><div id="container" class="OT_BannerDiv">answer</div></body></html>)");
    answer.Window().functions[u"eval"] = true;
    AnswerPage frame(answer);

    dialog.ResultPageLoaded(host, frame);

    EXPECT_TRUE(answer.Window().calls.empty());
    EXPECT_TRUE(information.Window().calls.empty());
    EXPECT_TRUE(answer.Has("#container"));
    EXPECT_EQ(host.detachments, 0);
}

}  // namespace
