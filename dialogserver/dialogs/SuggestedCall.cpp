#include "dialogserver/dialogs/SuggestedCall.h"

#include "dialogserver/dialogs/ScriptTokenizer.h"

namespace dialogserver::dialogs {
namespace {

bool IsMark(const ScriptToken& token, char16_t mark)
{
    return token.kind == TokenKind::Punctuator && token.punctuator == mark;
}

// After "(": the arguments and the ")" that closes them.
bool ReadArguments(ScriptTokenizer& tokens, SuggestedCall& call)
{
    ScriptToken token = tokens.Next();
    if (IsMark(token, u')'))
        return true;
    for (;;) {
        if (token.kind == TokenKind::String)
            call.arguments.emplace_back(std::move(token.text));
        else if (token.kind == TokenKind::Number)
            call.arguments.emplace_back(token.number);
        else
            return false;
        token = tokens.Next();
        if (IsMark(token, u')'))
            return true;
        if (!IsMark(token, u','))
            return false;
        token = tokens.Next();
    }
}

}  // namespace

std::optional<SuggestedCall> ParseSuggestedCall(std::u16string_view link)
{
    constexpr std::u16string_view kPrefix = u"javascript:";
    if (link.substr(0, kPrefix.size()) == kPrefix)
        link.remove_prefix(kPrefix.size());
    ScriptTokenizer tokens(link);
    SuggestedCall call;
    ScriptToken token = tokens.Next();
    if (token.kind != TokenKind::Identifier)
        return std::nullopt;
    call.function = std::move(token.text);
    if (!IsMark(tokens.Next(), u'(') || !ReadArguments(tokens, call))
        return std::nullopt;
    token = tokens.Next();
    if (IsMark(token, u';'))
        token = tokens.Next();
    if (token.kind != TokenKind::End)
        return std::nullopt;
    return call;
}

std::set<std::u16string> DeclaredFunctions(std::u16string_view script)
{
    std::set<std::u16string> names;
    ScriptTokenizer tokens(script);
    ScriptToken previous;
    ScriptToken name;
    for (ScriptToken token = tokens.Next(); token.kind != TokenKind::End; token = tokens.Next()) {
        if (IsMark(token, u'(') && previous.kind == TokenKind::Identifier && previous.text == u"function" &&
            name.kind == TokenKind::Identifier)
            names.insert(name.text);
        previous = std::move(name);
        name = std::move(token);
    }
    return names;
}

}  // namespace dialogserver::dialogs
