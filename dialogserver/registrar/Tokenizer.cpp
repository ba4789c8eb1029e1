// The script's tokens, in one pass over its text.
#include "dialogserver/registrar/Tokenizer.h"

#include <utility>

#include "dialogserver/registrar/Status.h"

namespace dialogserver::registrar {

namespace {

constexpr char16_t kQuote = u'\'';

// Reads the quoted text that starts at `position` (its opening quote); leaves `position` after
// the closing quote.
std::int32_t ReadQuoted(std::u16string_view text, std::size_t& position, std::u16string& content)
{
    ++position;
    while (position < text.size()) {
        const char16_t unit = text[position++];
        if (unit != kQuote) {
            content.push_back(unit);
        } else if (position < text.size() && text[position] == kQuote) {
            content.push_back(kQuote);
            ++position;
        } else {
            return kOk;
        }
    }
    return kErrorUnterminatedQuote;
}

}  // namespace

bool IsScriptSpace(char16_t unit)
{
    return unit == u' ' || unit == u'\t' || unit == u'\r' || unit == u'\n';
}

std::int32_t Tokenize(std::u16string_view text, std::vector<Token>& tokens)
{
    tokens.clear();
    std::vector<Token> result;
    std::size_t position = 0;
    while (true) {
        while (position < text.size() && IsScriptSpace(text[position]))
            ++position;
        if (position == text.size())
            break;
        Token token;
        if (text[position] == kQuote) {
            token.quoted = true;
            if (const std::int32_t status = ReadQuoted(text, position, token.text); status != kOk)
                return status;
            if (position < text.size() && !IsScriptSpace(text[position]))
                return kErrorStrayQuote;
        } else {
            const std::size_t start = position;
            while (position < text.size() && !IsScriptSpace(text[position])) {
                if (text[position] == kQuote)
                    return kErrorStrayQuote;
                ++position;
            }
            token.text.assign(text.substr(start, position - start));
        }
        result.push_back(std::move(token));
    }
    tokens.swap(result);
    return kOk;
}

}  // namespace dialogserver::registrar
