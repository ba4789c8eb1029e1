#pragma once
// The few tokens of script text that the dialogs read: names, string and number literals and
// single punctuation marks. Anything else (operators, comments, broken literals) is one Other
// token, so that a reader which wants only the plain shapes can refuse it.

#include <string>
#include <string_view>
#include <utility>

namespace dialogserver::dialogs {

enum class TokenKind { End, Identifier, String, Number, Punctuator, Other };

struct ScriptToken {
    ScriptToken() = default;
    ScriptToken(TokenKind tokenKind, std::u16string tokenText = {}) : kind(tokenKind), text(std::move(tokenText)) {}

    TokenKind kind = TokenKind::End;
    std::u16string text;      // the name; a string's value with its escapes decoded; a number as written
    double number = 0;        // a number's value
    char16_t punctuator = 0;  // one of ( ) , ;
};

class ScriptTokenizer {
public:
    explicit ScriptTokenizer(std::u16string_view source) : m_source(source) {}
    // The next token after any white space; End at the end of the text, and from then on.
    ScriptToken Next();

private:
    bool AtEnd() const { return m_at >= m_source.size(); }
    char16_t Peek(std::size_t ahead = 0) const;
    ScriptToken Name();
    ScriptToken StringLiteral();
    ScriptToken NumberLiteral();
    ScriptToken SkipOther();
    // One escape after a backslash into `value`; false when it is not one the tokenizer knows.
    bool Escape(std::u16string& value);

    std::u16string_view m_source;
    std::size_t m_at = 0;
};

}  // namespace dialogserver::dialogs
