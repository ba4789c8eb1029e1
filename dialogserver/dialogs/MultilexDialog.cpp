#include "dialogserver/dialogs/MultilexAnswer.h"
#include "dialogserver/dialogs/PageOperations.h"
#include "dialogserver/dialogs/ReplaceAll.h"
#include "dialogserver/dialogs/ServiceDialog.h"
#include "dialogserver/dialogs/SuggestedCall.h"
#include "foundation/xml/XmlResponseParser.h"

namespace dialogserver::dialogs {
namespace {

using Parser = XML::CXMLResponseParser::Parser;

// The information page and its "content" element, either of which may be missing.
struct ContentArea {
    std::unique_ptr<dom::Document> page;
    dom::ElementPtr content;
};

// The page's "showTranslation", or else "progress" hidden and "content" shown.
void ShowContent(ContentArea& area)
{
    if (!area.page || CallScriptFunction(*area.page, u"showTranslation"))
        return;
    HideElement(*area.page, u"progress");
    if (area.content)
        area.content->SetStyle(dom::Style::Display, u"block");
}

bool PageDeclaresFunction(dom::Document& page, const std::u16string& name)
{
    for (const std::u16string& script : page.ScriptTexts()) {
        if (DeclaredFunctions(script).count(name))
            return true;
    }
    return false;
}

// A suggested link ("javascript:..." in a div) runs the information page's look-up; true when
// it ran. The link comes from the web and the page has a local page's rights, so only a call of
// one of the page's own functions with plain values is made, and nothing of the link is evaluated.
bool RunSuggestedLink(const Parser& parser, ContentArea& area)
{
    const std::optional<std::u16string> link = parser.GetAttribute(u"//div", u"a", u"href");
    if (!link || !area.page)
        return false;
    const std::optional<SuggestedCall> call = ParseSuggestedCall(ReplaceAll(*link, u"javascript:", u""));
    if (!call || !PageDeclaresFunction(*area.page, call->function))
        return false;
    std::vector<dom::ScriptArgument> arguments;
    for (const auto& value : call->arguments)
        std::visit([&arguments](const auto& plain) { arguments.emplace_back(plain); }, value);
    return CallScriptFunction(*area.page, call->function, arguments);
}

void ShowNotFound(DialogHost& host, ContentArea& area)
{
    if (area.content)
        area.content->SetInnerHtml(host.NotFoundText());
    ShowContent(area);
}

void CopyAnswer(const Parser& parser, ContentArea& area)
{
    const std::u16string text = parser.GetText();
    if (text.empty())
        return;
    if (area.page && area.content) {
        if (dom::ElementPtr answer = area.page->CreateElement(u"div")) {
            answer->SetInnerHtml(AnswerMarkup(text));
            area.content->SetInnerHtml(u"");
            area.content->AppendChild(*answer);
        }
    }
    ShowContent(area);
}

}  // namespace

std::u16string AnswerMarkup(const std::u16string& text)
{
    constexpr std::u16string_view open = u"<html>";
    const std::size_t start = text.find(open);
    if (start == std::u16string::npos)
        return text;
    const std::size_t from = start + open.size();
    const std::size_t end = text.find(u"</html>", from);
    return text.substr(from, end == std::u16string::npos ? std::u16string::npos : end - from);
}

void MultilexDialog::InformationPageLoaded(DialogHost& host)
{
    LoadTranslationFrame(host);
    LoadTracker(host);
}

// Every document of the window comes here, normally the answer in the "translation" frame.
void MultilexDialog::ResultPageLoaded(DialogHost& host, ResultPage& page)
{
    const std::unique_ptr<XML::CXMLResponseParser> response = page.ResponseParser();
    const Parser* parser = response ? response->GetParser() : nullptr;
    if (!parser)
        return;
    ContentArea area{host.InformationPage(), nullptr};
    if (area.page)
        area.content = area.page->ElementById(u"content");

    const std::optional<std::u16string> status = parser->GetAttribute(u"/", u"html", u"status");
    if (status == u"0" && RunSuggestedLink(*parser, area))
        return;
    if (status == u"-1") {
        ShowNotFound(host, area);
        return;
    }
    CopyAnswer(*parser, area);
}

}  // namespace dialogserver::dialogs
