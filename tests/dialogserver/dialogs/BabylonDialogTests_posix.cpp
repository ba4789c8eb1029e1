// The Babylon dialog on real pages: the answer frame, banner and glossary-link removal, and the
// switch to the translation once the answer proper has arrived.
#include <gtest/gtest.h>

#include "dialogserver/dialogs/ServiceDialog.h"
#include "tests/dialogserver/dialogs/StepTestSupport_posix.h"

namespace {
using dialogserver::dialogs::BabylonDialog;
using dialogtest::AnswerPage;
using dialogtest::HostShowing;
using dialogtest::HtmlPage;
using Strings = std::vector<std::string>;

// Three banners in different parents, one glossary link, and look-alikes that stay.
constexpr char kAnswer[] = R"(<html><body>
<div id="header"><div class="OT_BannerDiv">ad one</div></div>
<div id="container">
  <p>cat: <b>кошка</b> <a class="about-gloss" href="/gloss">glossary</a> <a class="gloss" href="/more">more</a></p>
  <div id="inner"><div class="OT_BannerDiv">ad two</div><p>text</p></div>
</div>
<div id="footer"><p>note</p><div class="OT_BannerDiv">ad three</div></div>
<div class="OT_BannerDiv extra">kept: more than one class</div>
<div class="ot_bannerdiv">kept: other case</div>
<a class="about-gloss more">kept: more than one class</a>
</body></html>)";

struct BabylonTest : testing::Test {
    HtmlPage information{dialogtest::kInformationPage};
    HostShowing host{information};
    BabylonDialog dialog;
};

TEST_F(BabylonTest, InformationPage_LoadsTheAnswerAndTrackerFrames)
{
    host.serviceName = u"Babylon";

    dialog.InformationPageLoaded(host);

    EXPECT_EQ(information.Attribute("#translation", "src"), "https://dictionary.example/?word=cat");
    EXPECT_EQ(information.Attribute("#tracker", "src"), "https://track.example/Babylon.html");
    EXPECT_EQ(host.detachments, 0);
}

TEST_F(BabylonTest, Answer_LosesItsBannersAndGlossaryLinksThenShowsAndLetsTheWindowGo)
{
    HtmlPage answer(kAnswer);
    answer.Window().functions[u"eval"] = true;
    AnswerPage frame(answer);

    dialog.ResultPageLoaded(host, frame);

    EXPECT_EQ(answer.Window().TextArguments(u"eval"), std::vector<std::u16string>{dialogtest::kSuppressErrors});
    EXPECT_EQ(answer.Classes("div"), (Strings{"", "", "", "", "OT_BannerDiv extra", "ot_bannerdiv"}));
    EXPECT_EQ(answer.Classes("a"), (Strings{"gloss", "about-gloss more"}));
    EXPECT_TRUE(answer.Has("#inner"));
    EXPECT_EQ(answer.InnerHtml("#footer"), "<p>note</p>");
    // The information page had no "showTranslation": the element styles switch it.
    EXPECT_EQ(information.StyleValue("#progress", "display"), "none");
    EXPECT_EQ(information.StyleValue("#translation", "display"), "block");
    EXPECT_EQ(host.detachments, 1);
}

TEST_F(BabylonTest, Answer_UsesThePageFunctionToShowTheTranslation)
{
    information.Window().functions[u"showTranslation"] = true;
    HtmlPage answer(kAnswer);
    AnswerPage frame(answer);

    dialog.ResultPageLoaded(host, frame);

    EXPECT_EQ(information.Window().CallNames(), std::vector<std::u16string>{u"showTranslation"});
    EXPECT_EQ(information.Style("#progress"), "");
    EXPECT_EQ(host.detachments, 1);
}

// The tracker frame, or any other document, completing before the answer.
TEST_F(BabylonTest, PageWithoutContainer_IsCleanedButTheDialogWaits)
{
    HtmlPage tracker(R"(<html><body><div class="OT_BannerDiv">ad</div><p>counter</p></body></html>)");
    AnswerPage frame(tracker);

    dialog.ResultPageLoaded(host, frame);

    EXPECT_EQ(tracker.Classes("div"), Strings{});
    EXPECT_EQ(information.Style("#progress"), "");
    EXPECT_EQ(information.Style("#translation"), "display: none");
    EXPECT_EQ(host.detachments, 0);
}

TEST_F(BabylonTest, ObjectWithoutDocument_ChangesNothing)
{
    AnswerPage notABrowser;

    dialog.ResultPageLoaded(host, notABrowser);

    EXPECT_EQ(information.Style("#progress"), "");
    EXPECT_EQ(host.detachments, 0);
}

// The walk goes by index over the live list of divs: removing one moves the next div into its
// index, and the walk goes on from the index after it, as it does in the browser.
TEST_F(BabylonTest, BannerRemoval_WalksTheLiveListByIndex)
{
    HtmlPage answer(R"(<html><body>
<div class="OT_BannerDiv" id="first"><div class="OT_BannerDiv">nested</div></div>
<div class="OT_BannerDiv" id="second">right after the first</div>
<div id="plain">plain</div>
<div class="OT_BannerDiv" id="third">after a plain div</div>
<div class="OT_BannerDiv" id="fourth">right after the third</div>
</body></html>)");
    AnswerPage frame(answer);

    dialog.ResultPageLoaded(host, frame);

    EXPECT_FALSE(answer.Has("#first"));
    EXPECT_TRUE(answer.Has("#second"));
    EXPECT_TRUE(answer.Has("#plain"));
    EXPECT_FALSE(answer.Has("#third"));
    EXPECT_TRUE(answer.Has("#fourth"));
    EXPECT_EQ(answer.Classes("div"), (Strings{"OT_BannerDiv", "", "OT_BannerDiv"}));
}

}  // namespace
