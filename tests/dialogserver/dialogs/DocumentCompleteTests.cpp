// Which completed documents the dialogs act on, and which step each one gets.
#include <gtest/gtest.h>

#include "dialogserver/dialogs/DocumentComplete.h"
#include "foundation/text/Utf.h"
#include "tests/dialogserver/dialogs/FakeHost.h"

namespace {
using dialogserver::dialogs::ClassifyCompletedDocument;
using dialogserver::dialogs::CompletedDocument;
using dialogserver::dialogs::DialogHost;
using dialogserver::dialogs::ResultPage;

constexpr char16_t kInfoPage[] = u"https://info.example/Babylon_en.html";

TEST(DocumentComplete, Classify_IgnoresBlankPagesAndKnowsTheInformationPageByExactAddress)
{
    struct Case {
        std::optional<std::u16string> url;
        CompletedDocument expected;
    } const cases[] = {
        {std::nullopt, CompletedDocument::Ignored},  // not a string
        {u"", CompletedDocument::Ignored},
        {u"about:blank", CompletedDocument::Ignored},
        {u"about:Tabs", CompletedDocument::Ignored},
        {u"about:tabs", CompletedDocument::ResultPage},
        {u"About:blank", CompletedDocument::ResultPage},
        {u"about:blank#top", CompletedDocument::ResultPage},
        {kInfoPage, CompletedDocument::InformationPage},
        {u"https://info.example/babylon_en.html", CompletedDocument::ResultPage},
        {u"https://info.example/Babylon_en.html?", CompletedDocument::ResultPage},
        {u"https://dictionary.example/?word=cat", CompletedDocument::ResultPage},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url ? text::Utf16ToUtf8(*c.url) : "(no string)");
        EXPECT_EQ(ClassifyCompletedDocument(c.url, kInfoPage), c.expected);
    }
}

// Records which step ran, and with which page.
struct RecordingDialog : dialogserver::dialogs::ServiceDialog {
    std::vector<std::string> steps;
    std::vector<const ResultPage*> pages;

    void InformationPageLoaded(DialogHost&) override { steps.push_back("information"); }
    void ResultPageLoaded(DialogHost&, ResultPage& page) override
    {
        steps.push_back("result");
        pages.push_back(&page);
    }
};

struct NoPage : ResultPage {
    std::unique_ptr<dialogserver::dom::Document> Document() override { return nullptr; }
    std::unique_ptr<XML::CXMLResponseParser> ResponseParser() override { return nullptr; }
};

TEST(DocumentComplete, RunsTheStepOfTheCompletedDocument)
{
    dialogtest::FakeHost host;
    host.informationPageUrl = kInfoPage;
    RecordingDialog dialog;
    NoPage frame;
    NoPage other;

    DocumentComplete(dialog, host, std::u16string(u"about:blank"), frame);
    DocumentComplete(dialog, host, std::u16string(kInfoPage), other);
    DocumentComplete(dialog, host, std::u16string(u"https://dictionary.example/?word=cat"), frame);
    DocumentComplete(dialog, host, std::nullopt, other);
    DocumentComplete(dialog, host, std::u16string(u"https://track.example/"), other);

    EXPECT_EQ(dialog.steps, (std::vector<std::string>{"information", "result", "result"}));
    EXPECT_EQ(dialog.pages, (std::vector<const ResultPage*>{&frame, &other}));
    EXPECT_EQ(host.detachments, 0);
}

}  // namespace
