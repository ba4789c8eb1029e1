// The Lingvo dialog: the service's page replaces the information page and is trimmed down to its
// search results, with a progress display while the next page loads.
#include <gtest/gtest.h>

#include "dialogserver/dialogs/ElementWalks.h"
#include "dialogserver/dialogs/ServiceDialog.h"
#include "tests/dialogserver/dialogs/StepTestSupport_posix.h"

namespace {
using dialogserver::dialogs::FindElementByClass;
using dialogserver::dialogs::LingvoDialog;
using dialogtest::AnswerPage;
using dialogtest::HostShowing;
using dialogtest::HtmlPage;
namespace dom = dialogserver::dom;

// What every ancestor of the results gets, in the order it is set.
constexpr char kFilled[] =
    "width: 100%; max-width: 100%; min-width: 0; height: 100%; max-height: 100%; min-height: 0; "
    "padding: 0; margin: 0; float: none";

constexpr char kLingvoPage[] = R"(<html><head><title>Lingvo</title></head><body>
<div id="page" class="layout">
  <div id="header">head</div>
  text between
  <!-- a comment -->
  <div id="column" style="color: blue">
    <div id="before">before</div>
    <div id="results" class="main b-search-results" style="color: red"><p id="entry">cat: кошка</p></div>
    <span id="after">after</span>
  </div>
  <div id="sidebar"><div id="balloon" class="b-round-box_info-baloon">tip</div></div>
</div>
<div id="footer">foot</div>
</body></html>)";

// On the service's page the top document and the completed one are the same page.
struct LingvoTest : testing::Test {
    HtmlPage page{kLingvoPage};
    HostShowing host{page};
    AnswerPage completed{page};
    LingvoDialog dialog;
};

TEST_F(LingvoTest, InformationPage_SendsTheWindowToTheRequestAddress)
{
    dialog.InformationPageLoaded(host);

    EXPECT_EQ(host.navigations, std::vector<std::u16string>{u"https://dictionary.example/?word=cat"});
    EXPECT_EQ(page.Attribute("#tracker", "src"), std::nullopt);
    EXPECT_EQ(host.detachments, 0);
}

TEST_F(LingvoTest, Results_AreIsolatedAndTheirAncestorsFillTheWindow)
{
    page.Window().functions[u"eval"] = true;

    dialog.ResultPageLoaded(host, completed);

    EXPECT_EQ(page.Window().TextArguments(u"eval"), std::vector<std::u16string>{dialogtest::kSuppressErrors});
    // The block itself and what it holds keep their styles.
    EXPECT_EQ(page.Style("#results"), "color: red");
    EXPECT_EQ(page.Style("#entry"), "");
    // Element siblings of the block and of every ancestor are hidden.
    for (const char* hidden : {"#before", "#after", "#header", "#sidebar", "#footer", "head"}) {
        SCOPED_TRACE(hidden);
        EXPECT_EQ(page.Style(hidden), "display: none");
    }
    // Every ancestor up to the root element fills its container.
    EXPECT_EQ(page.Style("#column"), std::string("color: blue; ") + kFilled);
    EXPECT_EQ(page.Style("#page"), std::string(kFilled) + "; overflow-y: auto");
    EXPECT_EQ(page.Style("body"), kFilled);
    EXPECT_EQ(page.Style("html"), kFilled);
    EXPECT_EQ(page.Style("#balloon"), "display: none");
    EXPECT_EQ(host.detachments, 0);
}

TEST_F(LingvoTest, Results_ShowTheTranslationOnTheTopPage)
{
    page.Window().functions[u"showTranslation"] = true;

    dialog.ResultPageLoaded(host, completed);

    EXPECT_EQ(page.Window().CallNames(), std::vector<std::u16string>{u"showTranslation"});
}

TEST_F(LingvoTest, UnloadHandler_ShowsTheProgressEachTimeThePageIsLeft)
{
    page.Window().functions[u"showProgressBar"] = true;

    dialog.ResultPageLoaded(host, completed);

    ASSERT_EQ(host.handlers.size(), 1u);
    EXPECT_EQ(page.BodyOnUnload(), host.handlers[0]);
    EXPECT_TRUE(page.Window().calls.empty());
    host.handlers[0]->Fire(host);
    host.handlers[0]->Fire(host);
    EXPECT_EQ(page.Window().CallNames(), (std::vector<std::u16string>{u"showProgressBar", u"showProgressBar"}));
}

// The step's host lives only as long as the step; the page fires its handler much later, when the
// user follows a link.
TEST_F(LingvoTest, UnloadHandler_WorksAfterTheStepsHostIsGone)
{
    page.Window().functions[u"showProgressBar"] = true;
    auto stepHost = std::make_unique<HostShowing>(page);
    dialog.ResultPageLoaded(*stepHost, completed);
    ASSERT_EQ(stepHost->handlers.size(), 1u);
    const std::shared_ptr<dialogtest::EventHandler> handler = stepHost->handlers[0];
    stepHost.reset();
    HostShowing laterHost(page);

    handler->Fire(laterHost);

    EXPECT_EQ(page.Window().CallNames(), std::vector<std::u16string>{u"showProgressBar"});
}

TEST_F(LingvoTest, PageWithoutResults_IsLeftAsTheServiceSentIt)
{
    HtmlPage other(R"(<html><body><div id="page"><div class="b-search-results-old" id="old">old</div>
<div class="b-round-box_info-baloon" id="balloon">tip</div></div></body></html>)");
    other.Window().functions[u"eval"] = true;
    AnswerPage frame(other);

    dialog.ResultPageLoaded(host, frame);

    for (const char* key : {"#page", "#old", "#balloon", "body", "html"}) {
        SCOPED_TRACE(key);
        EXPECT_EQ(other.Style(key), "");
    }
    EXPECT_EQ(other.Window().CallNames(), std::vector<std::u16string>{u"eval"});
    EXPECT_EQ(other.BodyOnUnload(), nullptr);
    EXPECT_TRUE(host.handlers.empty());
}

TEST_F(LingvoTest, PageWithoutPageElement_GetsEveryOtherStep)
{
    HtmlPage other(R"(<html><body><div id="wrap"><p id="intro">intro</p>
<div class="b-search-results" id="results">results</div></div>
<div class="b-round-box_info-baloon" id="balloon">tip</div></body></html>)");
    AnswerPage frame(other);

    dialog.ResultPageLoaded(host, frame);

    EXPECT_EQ(other.Style("#intro"), "display: none");
    EXPECT_EQ(other.Style("#wrap"), kFilled);
    EXPECT_EQ(other.StyleValue("#balloon", "display"), "none");
    ASSERT_EQ(host.handlers.size(), 1u);
    EXPECT_EQ(other.BodyOnUnload(), host.handlers[0]);
}

// An engine without the later style interfaces still gets the properties it knows.
TEST_F(LingvoTest, Maximize_SkipsStylesTheBrowserRefuses)
{
    page.RefuseStyle(dom::Style::MaxWidth);
    page.RefuseStyle(dom::Style::MinWidth);
    page.RefuseStyle(dom::Style::MaxHeight);

    dialog.ResultPageLoaded(host, completed);

    EXPECT_EQ(page.Style("body"), "width: 100%; height: 100%; min-height: 0; padding: 0; margin: 0; float: none");
}

TEST_F(LingvoTest, ObjectWithoutDocument_ChangesNothing)
{
    AnswerPage notABrowser;

    dialog.ResultPageLoaded(host, notABrowser);

    EXPECT_TRUE(host.handlers.empty());
    EXPECT_EQ(page.Style("#footer"), "");
}

TEST(FindElementByClass, MatchesTheClassAsOneOfTheSpaceSeparatedTokens)
{
    struct Case {
        const char* attribute;  // null: no class attribute
        bool found;
    } const cases[] = {
        {"b-search-results", true},
        {"x b-search-results y", true},
        {" x b-search-results y ", true},
        {"main b-search-results", true},
        {"b-search-results tail", true},
        {"b-search-results-old", false},
        {"old-b-search-results", false},
        {"xb-search-results", false},
        {"B-search-results", false},
        {"x\tb-search-results", false},
        {"", false},
        {nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attribute ? c.attribute : "(no class)");
        const std::string attribute = c.attribute ? std::string(" class=\"") + c.attribute + "\"" : "";
        HtmlPage page("<html><body><div id=\"candidate\"" + attribute + ">x</div></body></html>");

        dom::ElementPtr found = FindElementByClass(*page.Document(), u"div", u"b-search-results");

        EXPECT_EQ(found != nullptr, c.found);
    }
}

TEST(FindElementByClass, ReturnsTheFirstElementOfTheTagInDocumentOrder)
{
    HtmlPage page(R"(<html><body><span class="b-search-results">span</span>
<div id="outer"><div class="b-search-results" id="first"><div class="b-search-results">inner</div></div></div>
<div class="b-search-results" id="second"></div></body></html>)");

    dom::ElementPtr found = FindElementByClass(*page.Document(), u"div", u"b-search-results");

    ASSERT_NE(found, nullptr);
    found->SetStyle(dom::Style::Display, u"none");
    EXPECT_EQ(page.Style("#first"), "display: none");
}

}  // namespace
