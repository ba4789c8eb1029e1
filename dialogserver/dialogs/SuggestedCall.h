#pragma once
// The suggested link of a Multilex answer is a call of a function of the information page. The
// answer comes from the web while the information page is a page of the local disk, so the link
// is never run as script: only a call of the shape the page's own links have is read from it,
// and the page's function is then called with the values themselves.

#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace dialogserver::dialogs {

struct SuggestedCall {
    std::u16string function;
    std::vector<std::variant<std::u16string, double>> arguments;  // string and number literals
};

// `name(literal, ...)`, with an optional "javascript:" before it and an optional ";" after it,
// white space between the tokens. Nothing for any other text: more than one statement, nested
// calls, property access, operators, comments, broken literals.
std::optional<SuggestedCall> ParseSuggestedCall(std::u16string_view link);

// The names that `script` declares as functions ("function name("). A script the tokenizer
// cannot follow (regular expressions, say) may lose names, never gain any.
std::set<std::u16string> DeclaredFunctions(std::u16string_view script);

}  // namespace dialogserver::dialogs
