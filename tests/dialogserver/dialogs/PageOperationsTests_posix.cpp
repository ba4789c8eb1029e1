// The page operations the dialogs share, on a real information page.
#include <gtest/gtest.h>

#include "dialogserver/dialogs/PageOperations.h"
#include "tests/dialogserver/dialogs/StepTestSupport_posix.h"

namespace {
using namespace dialogserver::dialogs;
namespace dom = dialogserver::dom;
using dialogtest::HostShowing;
using dialogtest::HtmlPage;

TEST(PageOperations, HideAndShowElement_SetTheStylesInOrderAndSkipMissingElements)
{
    HtmlPage page("<html><body><div id='a'>a</div><div id='b' style='display: none; color: red'>b</div></body></html>");
    std::unique_ptr<dom::Document> document = page.Document();

    HideElement(*document, u"a");
    ShowElementFull(*document, u"b");
    HideElement(*document, u"missing");
    ShowElementFull(*document, u"missing");

    EXPECT_EQ(page.Style("#a"), "display: none");
    EXPECT_EQ(page.Style("#b"), "display: block; color: red; width: 100%; height: 100%");
}

TEST(PageOperations, CallScriptFunction_SucceedsOnlyWhenTheFunctionExistsAndSucceeds)
{
    HtmlPage page("<html><body></body></html>");
    page.Window().functions = {{u"works", true}, {u"fails", false}};
    std::unique_ptr<dom::Document> document = page.Document();
    auto object = std::make_shared<dialogtest::ClassObject>(u"Some.Class");

    EXPECT_TRUE(CallScriptFunction(*document, u"works", {object, std::u16string(u"text")}));
    EXPECT_FALSE(CallScriptFunction(*document, u"fails"));
    EXPECT_FALSE(CallScriptFunction(*document, u"missing"));

    ASSERT_EQ(page.Window().CallNames(), (std::vector<std::u16string>{u"works", u"fails"}));
    const std::vector<dom::ScriptArgument>& arguments = page.Window().calls[0].arguments;
    ASSERT_EQ(arguments.size(), 2u);
    EXPECT_EQ(std::get<dom::ScriptObjectPtr>(arguments[0]), object);
    EXPECT_EQ(std::get<std::u16string>(arguments[1]), u"text");
    EXPECT_TRUE(page.Window().calls[1].arguments.empty());
}

// Both switches: the page's own function when it exists and succeeds, else the element styles.
TEST(PageOperations, Switches_PreferThePageFunctionAndFallBackToTheElements)
{
    struct Switch {
        void (*run)(DialogHost&);
        const char16_t* function;
        const char* hidden;
        const char* shown;
    } const switches[] = {
        {SwitchToTranslation, u"showTranslation", "#progress", "#translation"},
        {SwitchToProgress, u"showProgressBar", "#translation", "#progress"},
    };
    enum class Script { Missing, Succeeds, Fails };
    for (const Switch& s : switches) {
        for (Script script : {Script::Missing, Script::Succeeds, Script::Fails}) {
            SCOPED_TRACE(s.hidden + std::string(" hidden; script ") + std::to_string(static_cast<int>(script)));
            HtmlPage page(dialogtest::kInformationPage);
            if (script != Script::Missing)
                page.Window().functions[s.function] = script == Script::Succeeds;
            const std::string hiddenBefore = page.Style(s.hidden);
            const std::string shownBefore = page.Style(s.shown);
            HostShowing host(page);

            s.run(host);

            EXPECT_EQ(page.Window().CallNames().size(), script == Script::Missing ? 0u : 1u);
            if (script == Script::Succeeds) {
                EXPECT_EQ(page.Style(s.hidden), hiddenBefore);
                EXPECT_EQ(page.Style(s.shown), shownBefore);
            } else {
                EXPECT_EQ(page.StyleValue(s.hidden, "display"), "none");
                EXPECT_EQ(page.StyleValue(s.shown, "display"), "block");
                EXPECT_EQ(page.StyleValue(s.shown, "width"), "100%");
                EXPECT_EQ(page.StyleValue(s.shown, "height"), "100%");
            }
        }
    }
}

TEST(PageOperations, Frames_GetTheRequestAndTheTrackerAddress)
{
    HtmlPage page(dialogtest::kInformationPage);
    HostShowing host(page);
    host.serviceName = u"Multilex";

    LoadTranslationFrame(host);
    LoadTracker(host);

    EXPECT_EQ(page.Attribute("#translation", "src"), "https://dictionary.example/?word=cat");
    EXPECT_EQ(page.Attribute("#tracker", "src"), "https://track.example/Multilex.html");
}

// An empty source would make the frame load the information page itself, whose completion would
// run the information page's step again.
TEST(PageOperations, LoadTracker_WithoutAnAddressLoadsABlankPage)
{
    HtmlPage page(dialogtest::kInformationPage);
    HostShowing host(page);
    host.trackerUrlTemplate.clear();

    LoadTracker(host);

    EXPECT_EQ(page.Attribute("#tracker", "src"), "about:blank");
}

}  // namespace
