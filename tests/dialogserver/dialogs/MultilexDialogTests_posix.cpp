// The Multilex dialog: the answer in the "translation" frame is read with the response parser,
// and its status decides between running a suggested link, the not-found message and a copy of
// the answer into the information page.
#include <gtest/gtest.h>

#include "dialogserver/dialogs/ServiceDialog.h"
#include "foundation/text/Utf.h"
#include "tests/dialogserver/dialogs/StepTestSupport_posix.h"

namespace {
using dialogserver::dialogs::MultilexDialog;
using dialogtest::AnswerPage;
using dialogtest::HostShowing;
using dialogtest::HtmlPage;
using Texts = std::vector<std::u16string>;
namespace dom = dialogserver::dom;

constexpr char kOldContent[] = "<p>old answer</p>";

struct MultilexTest : testing::Test {
    HtmlPage information{dialogtest::kInformationPage};
    HostShowing host{information};
    MultilexDialog dialog;

    // Whether the information page was switched to its content by the element styles.
    bool ShownByStyles() const
    {
        return information.StyleValue("#progress", "display") == "none" &&
               information.StyleValue("#content", "display") == "block";
    }
};

TEST_F(MultilexTest, InformationPage_LoadsTheAnswerAndTrackerFrames)
{
    host.serviceName = u"Multilex";

    dialog.InformationPageLoaded(host);

    EXPECT_EQ(information.Attribute("#translation", "src"), "https://dictionary.example/?word=cat");
    EXPECT_EQ(information.Attribute("#tracker", "src"), "https://track.example/Multilex.html");
}

TEST_F(MultilexTest, StatusMinusOne_ShowsTheNotFoundTextInTheUserInterfaceLanguage)
{
    struct Case {
        std::u16string text;
        std::string expected;
        bool pageFunction;
    } const cases[] = {
        {u"Translation was not found", "Translation was not found", false},
        {u"Перевод слова не найден", "Перевод слова не найден", false},
        {u"Translation was not found", "Translation was not found", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected + (c.pageFunction ? " with showTranslation" : ""));
        HtmlPage page(dialogtest::kInformationPage);
        page.Window().functions[u"eval"] = true;  // the link of a "-1" answer is not run
        if (c.pageFunction)
            page.Window().functions[u"showTranslation"] = true;
        HostShowing multilex(page);
        multilex.notFoundText = c.text;
        AnswerPage answer = AnswerPage::Xml(u"<html status=\"-1\"><div><a href=\"javascript:x()\">x</a></div></html>");

        dialog.ResultPageLoaded(multilex, answer);

        EXPECT_EQ(page.InnerHtml("#content"), c.expected);
        EXPECT_EQ(page.Window().CallNames(), c.pageFunction ? Texts{u"showTranslation"} : Texts{});
        EXPECT_EQ(page.StyleValue("#progress", "display"), c.pageFunction ? "" : "none");
        EXPECT_EQ(page.StyleValue("#content", "display"), c.pageFunction ? "none" : "block");
    }
}

// An information page that declares the look-up its suggested links call.
std::string PageWithLookup()
{
    std::string page = dialogtest::kInformationPage;
    page.insert(page.find("</head>"), "<script>function lookup(word, count) { /* look the word up */ }</script>");
    return page;
}

// An answer with status 0 whose link in a div has `href` (as XML text: quotes and ampersands escaped).
AnswerPage SuggestedLinkAnswer(const std::u16string& href)
{
    return AnswerPage::Xml(u"<html status=\"0\"><div><a href=\"" + href + u"\">cats</a></div></html>");
}

TEST_F(MultilexTest, StatusZero_RunsTheSuggestedLinkOrElseCopiesTheAnswer)
{
    enum class Lookup { Missing, Succeeds, Fails };
    struct Case {  // NOLINT(clang-analyzer-optin.performance.Padding): cases read in this order
        const char16_t* answer;
        Lookup lookup;
        Texts looked;  // what "lookup" got
        bool copied;
    } const cases[] = {
        {u"<html status=\"0\"><div><a href=\"javascript:lookup('cats')\">cats</a></div></html>",
         Lookup::Succeeds,
         {u"cats"},
         false},
        {u"<html status=\"0\"><div><a href=\"javascript:lookup('javascript:cats')\">x</a></div></html>",
         Lookup::Succeeds,
         {u"cats"},
         false},
        {u"<html status=\"0\"><div><a href=\"javascript:lookup('cats')\">cats</a></div></html>",
         Lookup::Fails,
         {u"cats"},
         true},
        {u"<html status=\"0\"><div><a href=\"javascript:lookup('cats')\">cats</a></div></html>",
         Lookup::Missing,
         {},
         true},
        {u"<html status=\"0\"><a href=\"javascript:lookup('cats')\">not in a div</a></html>",
         Lookup::Succeeds,
         {},
         true},
        {u"<html status=\"0\"><div><b>cat</b> кошка</div></html>", Lookup::Succeeds, {}, true},
        {u"<html status=\"1\"><div><a href=\"javascript:lookup('cats')\">cats</a></div></html>",
         Lookup::Succeeds,
         {},
         true},
        {u"<html status=\" 0\"><div><a href=\"javascript:lookup('cats')\">cats</a></div></html>",
         Lookup::Succeeds,
         {},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        HtmlPage page(PageWithLookup());
        page.Window().functions[u"eval"] = true;
        if (c.lookup != Lookup::Missing)
            page.Window().functions[u"lookup"] = c.lookup == Lookup::Succeeds;
        HostShowing multilex(page);
        AnswerPage answer = AnswerPage::Xml(c.answer);

        dialog.ResultPageLoaded(multilex, answer);

        EXPECT_EQ(page.Window().TextArguments(u"lookup"), c.looked);
        EXPECT_EQ(page.Window().TextArguments(u"eval"), Texts{});
        if (c.copied) {
            EXPECT_NE(page.InnerHtml("#content"), kOldContent);
            EXPECT_EQ(page.StyleValue("#content", "display"), "block");
        } else {
            EXPECT_EQ(page.InnerHtml("#content"), kOldContent);
            EXPECT_EQ(page.Style("#progress"), "");
        }
    }
}

// The values of the link reach the page's function as they are, strings and numbers.
TEST_F(MultilexTest, SuggestedLink_PassesItsValuesToThePagesFunction)
{
    HtmlPage page(PageWithLookup());
    page.Window().functions[u"lookup"] = true;
    HostShowing multilex(page);
    AnswerPage answer = SuggestedLinkAnswer(u"javascript:lookup(&quot;\\&quot;); evil(\\&quot;&quot;, -2.5e1);");

    dialog.ResultPageLoaded(multilex, answer);

    ASSERT_EQ(page.Window().calls.size(), 1u);
    EXPECT_EQ(page.Window().calls[0].name, u"lookup");
    EXPECT_EQ(page.Window().calls[0].arguments,
              (std::vector<dom::ScriptArgument>{std::u16string(u"\"); evil(\""), -25.0}));
    EXPECT_EQ(page.InnerHtml("#content"), kOldContent);
}

// Whatever else a link holds is neither evaluated nor called: the answer is copied instead.
TEST_F(MultilexTest, SuggestedLink_ThatIsNoPlainCallOfAPageFunctionIsNotRun)
{
    const char16_t* const links[] = {
        u"javascript:lookup('cat'); evil()",
        u"javascript:lookup('cat');lookup('dog')",
        u"javascript:lookup(evil())",
        u"javascript:lookup('a' + 'b')",
        u"javascript:lookup(cat)",
        u"javascript:lookup.call(null, 'cat')",
        u"javascript:window.lookup('cat')",
        u"javascript:window['lookup']('cat')",
        u"javascript:lookup('cat') // evil()",
        u"javascript:lookup(/* */'cat')",
        u"javascript:lookup('cat'",
        u"javascript:lookup('cat'))",
        u"javascript:lookup(('cat'))",
        u"javascript:lookup('cat',)",
        u"javascript:lookup('cat\\\\'); evil('')",  // an escaped backslash: the string ends there
        u"javascript:lookup('\\101')",
        u"javascript:lookup('line\\\ncontinued')",
        u"javascript:\\u006cookup('cat')",
        u"javascript:eval('evil()')",
        u"javascript:setTimeout('evil()')",
        u"javascript:evil('cat')",
        u"javascript:",
        u"javascript:lookup",
        u"evil:lookup('cat')",
    };
    for (const char16_t* link : links) {
        SCOPED_TRACE(text::Utf16ToUtf8(link));
        HtmlPage page(PageWithLookup());
        for (const char16_t* function : {u"lookup", u"eval", u"setTimeout", u"evil"})
            page.Window().functions[function] = true;
        HostShowing multilex(page);
        std::u16string href;
        for (const char16_t unit : std::u16string_view(link))
            href += unit == u'&'   ? u"&amp;"
                    : unit == u'"' ? u"&quot;"
                    : unit == u'<' ? u"&lt;"
                                   : std::u16string(1, unit);
        AnswerPage answer = SuggestedLinkAnswer(href);

        dialog.ResultPageLoaded(multilex, answer);

        EXPECT_EQ(page.Window().CallNames(), Texts{});
        EXPECT_NE(page.InnerHtml("#content"), kOldContent);
    }
}

// An answer the browser shows as text: its markup (see AnswerMarkup) goes into a new div in
// "content", in place of what was there.
TEST_F(MultilexTest, AnswerShownAsText_IsCopiedAsMarkupIntoContent)
{
    struct Case {
        const char* body;  // the answer page's body, as markup
        const char* content;
    } const cases[] = {
        {"<pre>head &lt;html&gt;&lt;b&gt;cat&lt;/b&gt; кошка&lt;/html&gt; tail</pre>", "<div><b>cat</b> кошка</div>"},
        {"<p>plain &lt;i&gt;answer&lt;/i&gt;</p>", "<div>plain <i>answer</i></div>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        HtmlPage page(dialogtest::kInformationPage);
        HostShowing multilex(page);
        HtmlPage answerPage(std::string("<html><body>") + c.body + "</body></html>");
        AnswerPage answer(answerPage);

        dialog.ResultPageLoaded(multilex, answer);

        EXPECT_EQ(page.InnerHtml("#content"), c.content);
        EXPECT_EQ(page.StyleValue("#progress", "display"), "none");
        EXPECT_EQ(page.StyleValue("#content", "display"), "block");
    }
}

TEST_F(MultilexTest, CopiedAnswer_UsesThePageFunctionWhenItHasOne)
{
    information.Window().functions[u"showTranslation"] = true;
    AnswerPage answer = AnswerPage::Xml(u"<html status=\"2\">other status</html>");

    dialog.ResultPageLoaded(host, answer);

    EXPECT_EQ(information.InnerHtml("#content"), "<div>other status</div>");
    EXPECT_EQ(information.Window().CallNames(), Texts{u"showTranslation"});
    EXPECT_FALSE(ShownByStyles());
}

TEST_F(MultilexTest, EachCopyReplacesThePreviousOne)
{
    HtmlPage tracker("<html><body><p>counter 1</p></body></html>");
    HtmlPage translation("<html><body><pre>&lt;html&gt;cat&lt;/html&gt;</pre></body></html>");
    AnswerPage first(tracker);
    AnswerPage second(translation);

    dialog.ResultPageLoaded(host, first);
    EXPECT_EQ(information.InnerHtml("#content"), "<div>counter 1</div>");
    dialog.ResultPageLoaded(host, second);

    EXPECT_EQ(information.InnerHtml("#content"), "<div>cat</div>");
    EXPECT_TRUE(ShownByStyles());
}

TEST_F(MultilexTest, PagesWithoutParser_ChangeNothing)
{
    HtmlPage empty("<html><body></body></html>");
    HtmlPage blank("<html><body> \n\t </body></html>");
    HtmlPage noBody("<html><head><title>x</title></head></html>");
    AnswerPage answers[] = {AnswerPage(), AnswerPage(empty), AnswerPage(blank), AnswerPage(noBody)};

    for (AnswerPage& answer : answers)
        dialog.ResultPageLoaded(host, answer);

    EXPECT_EQ(information.InnerHtml("#content"), kOldContent);
    EXPECT_EQ(information.Style("#progress"), "");
    EXPECT_EQ(information.Style("#content"), "display: none");
}

TEST_F(MultilexTest, InformationPageWithoutContent_StillSwitchesTheProgress)
{
    HtmlPage page(R"(<html><body><div id="progress">wait</div></body></html>)");
    HostShowing multilex(page);
    AnswerPage notFound = AnswerPage::Xml(u"<html status=\"-1\"/>");
    AnswerPage found = AnswerPage::Xml(u"<html status=\"1\">cat</html>");

    dialog.ResultPageLoaded(multilex, notFound);
    EXPECT_EQ(page.Style("#progress"), "display: none");
    dialog.ResultPageLoaded(multilex, found);

    EXPECT_EQ(page.Style("#progress"), "display: none");
}

}  // namespace
