#pragma once
// Splits script text into tokens as the ATL registrar does: white space (space, tab, CR, LF)
// separates them; a token is either a quoted text, 'like this' with '' standing for one quote,
// or a bare word running up to the next white space. Braces and "=" are bare words of their own.
// Stricter than ATL: a quote inside a bare word, or right after a quoted text, is an error.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/text/AsciiCase.h"

namespace dialogserver::registrar {

struct Token {
    std::u16string text;  // quotes removed, doubled quotes made single
    bool quoted = false;

    // A bare word equal to `word` (a quoted text never is a keyword or a brace).
    bool Is(std::u16string_view word) const { return !quoted && text == word; }
    // A bare word equal to the keyword `word` in any ASCII case, as the ATL registrar compares its
    // names (keywords, root keys, variables); other letters compare exactly.
    bool IsKeyword(std::u16string_view word) const { return !quoted && text::EqualsIgnoringAsciiCase(text, word); }
    // "{", "}" or "=": a token that can be no name nor text.
    bool IsPunctuation() const { return Is(u"{") || Is(u"}") || Is(u"="); }
};

bool IsScriptSpace(char16_t unit);

// kOk with every token of `text`, or the script error found (and `tokens` empty).
std::int32_t Tokenize(std::u16string_view text, std::vector<Token>& tokens);

}  // namespace dialogserver::registrar
