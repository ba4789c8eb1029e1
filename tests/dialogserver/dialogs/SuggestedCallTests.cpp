// What a suggested link may call: one function by name with string and number literals, read
// by a tokenizer rather than matched, and only a function the information page declares.
#include <gtest/gtest.h>

#include "dialogserver/dialogs/SuggestedCall.h"
#include "foundation/text/Utf.h"

namespace {
using dialogserver::dialogs::DeclaredFunctions;
using dialogserver::dialogs::ParseSuggestedCall;
using Value = std::variant<std::u16string, double>;
using Values = std::vector<Value>;

TEST(SuggestedCall, ReadsTheCallsThePagesLinksMake)
{
    struct Case {
        const char16_t* link;
        const char16_t* function;
        Values arguments;
    } const cases[] = {
        {u"javascript:lookup('cat')", u"lookup", {u"cat"}},
        {u"lookup(\"cat\");", u"lookup", {u"cat"}},
        {u"javascript: $show_2 ( 'a' ,\"b\" , 3 ) ; ", u"$show_2", {u"a", u"b", 3.0}},
        {u"go()", u"go", {}},
        {u"go(0, -1, 2.5, 1e3, -0.5E-2)", u"go", {0.0, -1.0, 2.5, 1000.0, -0.005}},
        {u"go('\u043a\u043e\u0442', '')", u"go", {u"\u043a\u043e\u0442", u""}},
        // Escapes are values, not script: a quote inside a string cannot end it.
        {u"go('it\\'s', \"say \\\"hi\\\"\")", u"go", {u"it's", u"say \"hi\""}},
        {u"go(\"x\\\"); evil(\\\"\")", u"go", {u"x\"); evil(\""}},
        {u"go('\\x27); evil(\\x27')", u"go", {u"'); evil('"}},
        {u"go('\\u0022\\u041a')", u"go", {u"\"\u041a"}},
        {u"go('\\n\\t\\r\\b\\f\\v\\0\\\\')", u"go", {std::u16string(u"\n\t\r\b\f\v\0\\", 8)}},
        {u"go('/* not a comment */', '//')", u"go", {u"/* not a comment */", u"//"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(text::Utf16ToUtf8(c.link));
        const auto call = ParseSuggestedCall(c.link);
        ASSERT_TRUE(call.has_value());
        EXPECT_EQ(call->function, c.function);
        EXPECT_EQ(call->arguments, c.arguments);
    }
}

TEST(SuggestedCall, RefusesEverythingElse)
{
    const char16_t* const links[] = {
        u"",
        u"javascript:",
        u";",
        u"go",
        u"go(",
        u"go)",
        u"(go)('x')",
        u"go('x'",
        u"go('x'))",
        u"go(('x'))",
        u"go('x',)",
        u"go(,'x')",
        u"go('x' 'y')",
        u"go('x');;",
        u"go('x');go('y')",
        u"go('x'); evil()",
        u"go('x') evil()",
        u"go(evil())",
        u"go(evil)",
        u"go('a' + 'b')",
        u"go(-'a')",
        u"go(- 1)",
        u"go(+1)",
        u"go(01)",
        u"go(1.)",
        u"go(.5)",
        u"go(1e)",
        u"go(0x10)",
        u"go(1x)",
        u"go(1e999)",
        u"go(NaN)",
        u"a.b('x')",
        u"window['go']('x')",
        u"go.call(null)",
        u"new go('x')",
        u"go`x`",
        u"go['x']",
        u"go('x') // evil()",
        u"go('x') /* */",
        u"/* */go('x')",
        u"go(/**/'x')",
        u"go('x)",
        u"go(\"x')",
        u"go('line\nend')",
        u"go('line\\\nend')",
        u"go('\\101')",
        u"go('\\08')",
        u"go('\\x4')",
        u"go('\\u12')",
        u"go('\\u{41}')",
        u"go('\\q')",
        u"\\u0067o('x')",
        u"g\u043eo('x')",
        u"JavaScript:go('x')",
        u"vbscript:go('x')",
        u"javascript:javascript:go('x')",
        u"go\u2028('x')",
    };
    for (const char16_t* link : links) {
        SCOPED_TRACE(text::Utf16ToUtf8(link));
        EXPECT_EQ(ParseSuggestedCall(link), std::nullopt);
    }
}

TEST(SuggestedCall, DeclaredFunctionsAreThoseTheScriptDefinesByName)
{
    const std::u16string script =
        uR"(
        var answerId = "translation";
        function setShown(id, shown) { document.getElementById(id).style.display = shown ? "block" : "none"; }
        function  lookup ( word ) { return go(word); }
        // function commented(x) {}
        /* function blocked(x) {} */
        var text = "function quoted(x) {}";
        var anonymous = function (x) { return x; };
        window.assigned = function named(x) {};
        functionLike(x);
    )";
    EXPECT_EQ(DeclaredFunctions(script), (std::set<std::u16string>{u"setShown", u"lookup", u"named"}));
    EXPECT_TRUE(DeclaredFunctions(u"").empty());
    EXPECT_TRUE(DeclaredFunctions(u"function").empty());
    EXPECT_TRUE(DeclaredFunctions(u"function f").empty());
}

}  // namespace
