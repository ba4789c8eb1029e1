// The text rules of the dialogs: the tracker address, the substitution behind it, and the cut of
// a Multilex answer.
#include <gtest/gtest.h>

#include "dialogserver/dialogs/MultilexAnswer.h"
#include "dialogserver/dialogs/PageOperations.h"
#include "dialogserver/dialogs/ReplaceAll.h"
#include "foundation/text/Utf.h"

namespace {
using dialogserver::dialogs::AnswerMarkup;
using dialogserver::dialogs::ReplaceAll;
using dialogserver::dialogs::TrackerAddress;

TEST(TextRules, TrackerAddress_PutsTheServiceNameForEveryPlaceholder)
{
    struct Case {
        std::u16string urlTemplate;
        std::u16string serviceName;
        std::u16string expected;
    } const cases[] = {
        {u"https://t.example/%dictionary%.html", u"Babylon", u"https://t.example/Babylon.html"},
        {u"https://t.example/%dictionary%/?s=%dictionary%", u"Lingvo", u"https://t.example/Lingvo/?s=Lingvo"},
        {u"https://t.example/fixed.html", u"Google", u"https://t.example/fixed.html"},
        {u"https://t.example/%Dictionary%", u"Google", u"https://t.example/%Dictionary%"},
        {u"https://t.example/%dictionary%", u"", u"https://t.example/"},
        {u"https://t.example/%dictionary%", u"%dictionary%", u"https://t.example/%dictionary%"},
        // An empty frame source would load the information page again inside its own frame.
        {u"", u"Babylon", u"about:blank"},
        {u"%dictionary%", u"", u"about:blank"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(text::Utf16ToUtf8(c.urlTemplate + u" / " + c.serviceName));
        EXPECT_EQ(TrackerAddress(c.urlTemplate, c.serviceName), c.expected);
    }
}

TEST(TextRules, ReplaceAll_ReplacesEveryOccurrenceLeftToRight)
{
    struct Case {
        std::u16string text;
        std::u16string pattern;
        std::u16string replacement;
        std::u16string expected;
    } const cases[] = {
        {u"javascript:show('cat')", u"javascript:", u"", u"show('cat')"},
        {u"javascript:go('javascript:x')", u"javascript:", u"", u"go('x')"},
        {u"JavaScript:go()", u"javascript:", u"", u"JavaScript:go()"},
        {u"aaa", u"aa", u"b", u"ba"},
        {u"abc", u"", u"x", u"abc"},
        {u"", u"a", u"b", u""},
        {u"a-a", u"a", u"aa", u"aa-aa"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(text::Utf16ToUtf8(c.text + u" / " + c.pattern));
        EXPECT_EQ(ReplaceAll(c.text, c.pattern, c.replacement), c.expected);
    }
}

TEST(TextRules, AnswerMarkup_KeepsWhatLiesBetweenTheFirstHtmlAndTheNextEnd)
{
    struct Case {
        std::u16string text;
        std::u16string expected;
    } const cases[] = {
        {u"head <html><b>cat</b> кошка</html> tail</html>", u"<b>cat</b> кошка"},
        {u"a</html>b<html>dog</html>c", u"dog"},
        {u"a<html>open only", u"open only"},
        {u"<html><html>x</html>", u"<html>x"},
        {u"<html></html>", u""},
        {u"plain <i>answer</i>", u"plain <i>answer</i>"},
        {u"a<HTML>b</HTML>c", u"a<HTML>b</HTML>c"},
        {u"a<html lang=\"en\">b</html>c", u"a<html lang=\"en\">b</html>c"},
        {u"", u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(text::Utf16ToUtf8(c.text));
        EXPECT_EQ(AnswerMarkup(c.text), c.expected);
    }
}

}  // namespace
